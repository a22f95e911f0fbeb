#include "browser/ImageWin.h"
#include "fs/Paths.h"
#include "viewer/ViewWin.h"
#include <QLocale>

TImageForm* ImageForm = nullptr;

static void initBrowserResources() { Q_INIT_RESOURCE(browser); }

TImageForm::TImageForm(QWidget* parent) : vcl::TForm(parent)
{
    initBrowserResources();
}

std::vector<vcl::TForm::Member> TImageForm::members()
{
    return {member("DirectoryListBox1", DirectoryListBox1), member("DriveComboBox1", DriveComboBox1),
            member("FileEdit", FileEdit), member("Panel1", Panel1), member("Image1", Image1),
            member("FileListBox1", FileListBox1), member("ViewBtn", ViewBtn),
            member("FilterComboBox1", FilterComboBox1), member("StretchCheck", StretchCheck),
            member("Edit1", Edit1)};
}

std::map<QString, vcl::EventHandler> TImageForm::handlers()
{
    return {{QStringLiteral("FormCreate"), notify(&TImageForm::FormCreate)},
            {QStringLiteral("FileListBox1Click"), notify(&TImageForm::FileListBox1Click)},
            {QStringLiteral("StretchCheckClick"), notify(&TImageForm::StretchCheckClick)},
            {QStringLiteral("FileEditKeyPress"), keyPress(&TImageForm::FileEditKeyPress)},
            {QStringLiteral("ViewBtnClick"), notify(&TImageForm::ViewBtnClick)}};
}

void TImageForm::FormCreate(vcl::TObject*)
{
    CaptionPrefix = Caption() + QStringLiteral(" - ");
}

void TImageForm::FileListBox1Click(vcl::TObject*)
{
    const QString key = QLocale::system().toUpper(vcl::fs::ExtractFileExt(FileListBox1->FileName())).left(4);
    if (key != QLatin1String(".BMP") && key != QLatin1String(".ICO") && key != QLatin1String(".WMF")
        && key != QLatin1String(".EMF"))
        return;
    Image1->Picture().LoadFromFile(FileListBox1->FileName());
    SetCaption(CaptionPrefix + vcl::fs::ExtractFileName(FileListBox1->FileName()));
    if (key == QLatin1String(".BMP")) {
        SetCaption(Caption() + QStringLiteral(" (%1 x %2)").arg(Image1->Picture().Width()).arg(Image1->Picture().Height()));
        ViewForm->Image1->SetPicture(Image1->Picture());
        ViewForm->SetCaption(Caption());
    } else if (key == QLatin1String(".ICO")) {
        SetIcon(*Image1->Picture().Icon());
        ViewForm->Image1->Picture().Assign(&Icon());
    } else {
        ViewForm->Image1->Picture().Assign(Image1->Picture().Metafile());
    }
}

void TImageForm::StretchCheckClick(vcl::TObject*)
{
    Image1->SetStretch(StretchCheck->Checked());
}

void TImageForm::FileEditKeyPress(vcl::TObject*, QChar& Key)
{
    if (Key == QChar(13)) {
        FileListBox1->ApplyFilePath(FileEdit->Text());
        Key = QChar(0);
    }
}

void TImageForm::ViewBtnClick(vcl::TObject*)
{
    ViewForm->SetRanges(Image1->Picture().Width(), Image1->Picture().Height());
    ViewForm->SetCaption(Caption());
    ViewForm->Show();
    ViewForm->setWindowState(ViewForm->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}
