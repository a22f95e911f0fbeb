// Application title, error text, and stored layouts read by the forms.
#include "controls/StdControls.h"
#include "forms/Application.h"
#include "forms/Layout.h"
#include <QFontMetrics>
#include <QMessageBox>
#include <cmath>
#include <gtest/gtest.h>

using vcl::TApplication;

TEST(ApplicationTitle, MadeFromTheProgramFileName)
{
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\APPS\\PICVIEW.EXE", "Picview"},
        {"/usr/local/bin/Kelpora", "Kelpora"},
        {"/opt/x/kelpora.bin.old", "kelpora"},
        {"/opt/x/KELPORA", "Kelpora"},
        {"/opt/x/pIcVIEW", "picview"},
        {"/opt/x/x.y", "x"},
        {"/opt/my.dir/Abc", "Abc"},
    };
    for (const auto& [path, title] : rows)
        EXPECT_EQ(TApplication::titleFromExeName(QString::fromUtf8(path)), QString::fromUtf8(title)) << path;
}

TEST(ErrorText, FullStopOnlyAfterCharactersPastTheDot)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Image bitmap incorrecte", "Image bitmap incorrecte."},
        {"Code 12", "Code 12."},
        {"Chemin :", "Chemin :."},
        {"Vraiment?", "Vraiment?."},
        {"Extension de fichier image inconnue (.bmpx)", "Extension de fichier image inconnue (.bmpx)"},
        {"Attention!", "Attention!"},
        {"fin ", "fin "},
        {"dit \"oui\"", "dit \"oui\""},
        {"l'a dit '", "l'a dit '"},
        {"a,", "a,"},
        {"a-", "a-"},
        {"déjà", "déjà."},
        {"", ""},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(TApplication::withFullStop(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(Layout, ParsesFormsControlsLinksAndEvents)
{
    const vcl::Layout l = vcl::parseLayout(QStringLiteral("# c\nform TF F\n  Caption = \"a \"\"b\"\"\"\n  ActiveControl -> E\n"
                                                          "  OnCreate = FormCreate\ncontrol TPanel P\n  Bounds = 1, 2, 3, 4\n"
                                                          "control TEdit E in P\n  OnKeyPress = K\n"),
                                           QStringLiteral("t"));
    EXPECT_EQ(l.form.className, QStringLiteral("TF"));
    ASSERT_EQ(l.form.entries.size(), 3u);
    EXPECT_EQ(l.form.entries[1].kind, vcl::LayoutEntry::Kind::Link);
    EXPECT_EQ(l.form.entries[2].kind, vcl::LayoutEntry::Kind::Event);
    ASSERT_EQ(l.controls.size(), 2u);
    EXPECT_EQ(l.controls[1].parentName, QStringLiteral("P"));
    bool ok = false;
    EXPECT_EQ(vcl::TControl::parseString(l.form.entries[0].value, &ok), QStringLiteral("a \"b\""));
}

TEST(Layout, BrokenLayoutsAreReportedWithTheirLine)
{
    const std::pair<const char*, const char*> rows[] = {
        {"control TEdit E\n", "t:1: a control before the form"},
        {"form TF F\nform TF G\n", "t:2: a second form"},
        {"form TF F\n  Caption\n", "t:2: expected"},
        {"form TF F\ncontrol TEdit E in Q\n", "parent Q of E must be declared before it"},
        {"form TF F\ncontrol TEdit E\ncontrol TEdit E\n", "t:3: control E is declared twice"},
        {"form TF F\nwidget X\n", "t:2: expected \"form\" or \"control\""},
        {"", "no form"},
    };
    for (const auto& [text, message] : rows) {
        try {
            vcl::parseLayout(QString::fromUtf8(text), QStringLiteral("t"));
            ADD_FAILURE() << "accepted: " << text;
        } catch (const vcl::LayoutError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(message))) << e.message().toStdString();
        }
    }
    EXPECT_THROW(vcl::loadLayout(QStringLiteral(":/nowhere/Missing.layout")), vcl::LayoutError);
}

namespace {

// A window whose layout text a test supplies.
class TTestForm : public vcl::TForm {
public:
    QString text;
    vcl::TEdit* Edit = nullptr;
    int created = 0;
    QString layoutResource() const override { return {}; }
    QString className() const override { return QStringLiteral("TTestForm"); }
    void build() { createFromLayout(vcl::parseLayout(text, QStringLiteral("test.layout"))); }
    void FormCreate(vcl::TObject*) { ++created; }
    void EditKey(vcl::TObject*, QChar&) {}

protected:
    std::vector<Member> members() override { return {member("Edit", Edit)}; }
    std::map<QString, vcl::EventHandler> handlers() override
    {
        return {{QStringLiteral("FormCreate"), notify(&TTestForm::FormCreate)},
                {QStringLiteral("EditKey"), keyPress(&TTestForm::EditKey)}};
    }
};

QString formError(const QString& body)
{
    TTestForm f;
    f.text = body;
    try {
        f.build();
    } catch (const vcl::LayoutError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(Layout, UnknownNamesAreReportedNotIgnored)
{
    const QString head = QStringLiteral("form TTestForm F\n  OnCreate = FormCreate\n");
    const std::pair<QString, const char*> rows[] = {
        {head + "control TNoSuch Edit\n", "unknown control class TNoSuch"},
        {head + "control TEdit Edit\n  Colour = red\n", "TEdit has no property Colour"},
        {head + "control TEdit Edit\n  OnKeyPress = Nobody\n", "TTestForm has no handler named Nobody"},
        {head + "control TEdit Edit\n  OnKeyPress = FormCreate\n", "handler FormCreate does not fit OnKeyPress"},
        {head + "control TEdit Edit\n  OnSpin = EditKey\n", "TEdit has no event OnSpin"},
        {head + "control TEdit Edit\n  Bounds = 1, 2, x, 4\n", "bad value for Bounds"},
        {head + "control TEdit Edit\n  Text = unquoted\n", "bad value for Text"},
        {head + "  ActiveControl -> Nobody\ncontrol TEdit Edit\n", "no control named Nobody"},
        {head + "control TPanel Edit\n", "control Edit is not of the class TTestForm declares"},
        {head + "control TEdit Other\n", "the layout has no control Edit"},
        {QStringLiteral("form TOther F\n"), "the layout is for TOther, not TTestForm"},
        {head + "  Sparkle = true\ncontrol TEdit Edit\n", "TTestForm has no property Sparkle"},
    };
    for (const auto& [text, message] : rows) {
        const QString got = formError(text);
        EXPECT_TRUE(got.contains(QString::fromUtf8(message))) << "got: " << got.toStdString();
        EXPECT_TRUE(got.startsWith(QStringLiteral("test.layout"))) << got.toStdString();
    }
}

TEST(Layout, GoodLayoutBuildsTheWindowAndRunsOnCreateOnce)
{
    TTestForm f;
    f.text = QStringLiteral("form TTestForm F\n  Caption = \"T\"\n  ClientWidth = 200\n  ClientHeight = 100\n"
                            "  OnCreate = FormCreate\ncontrol TEdit Edit\n  Bounds = 5, 6, 70, 21\n"
                            "  Text = \"x\"\n  OnKeyPress = EditKey\n");
    f.build();
    EXPECT_EQ(f.created, 1);
    ASSERT_NE(f.Edit, nullptr);
    EXPECT_EQ(f.Edit->geometry(), QRect(5, 6, 70, 21));
    EXPECT_EQ(f.Edit->Text(), QStringLiteral("x"));
    EXPECT_EQ(f.Caption(), QStringLiteral("T"));
}

TEST(Layout, OtherTextHeightsScaleEveryEdge)
{
    TTestForm f;
    f.text = QStringLiteral("form TTestForm F\n  Font = \"MS Sans Serif\", 11pt\n  ClientWidth = 856\n"
                            "  ClientHeight = 362\n  BorderStyle = bsSingle\ncontrol TEdit Edit\n"
                            "  Bounds = 8, 11, 148, 260\n");
    f.build();
    const int h = QFontMetrics(f.font()).height();
    ASSERT_NE(h, 13);
    auto s = [h](int v) { return int(std::lround(v * double(h) / 13.0)); };
    EXPECT_EQ(f.Edit->geometry(), QRect(QPoint(s(8), s(11)), QPoint(s(8 + 148) - 1, s(11 + 260) - 1)));
    EXPECT_EQ(f.size(), QSize(s(856), s(362)));
    EXPECT_DOUBLE_EQ(f.densityScale(), h / 13.0);
}
