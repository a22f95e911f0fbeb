#pragma once
// The browser window: drive, folder, filter and file lists, the entry line,
// the framed preview, the actual-size button and the fit box.
#include "controls/Image.h"
#include "controls/StdControls.h"
#include "filectrls/FileControls.h"
#include "forms/Form.h"

class TImageForm : public vcl::TForm {
    Q_OBJECT
public:
    explicit TImageForm(QWidget* parent = nullptr);

    vcl::TDirectoryListBox* DirectoryListBox1 = nullptr;
    vcl::TDriveComboBox* DriveComboBox1 = nullptr;
    vcl::TEdit* FileEdit = nullptr;
    vcl::TPanel* Panel1 = nullptr;
    vcl::TImage* Image1 = nullptr;
    vcl::TFileListBox* FileListBox1 = nullptr;
    vcl::TBitBtn* ViewBtn = nullptr;
    vcl::TFilterComboBox* FilterComboBox1 = nullptr;
    vcl::TCheckBox* StretchCheck = nullptr;
    vcl::TEdit* Edit1 = nullptr;

    void FormCreate(vcl::TObject* Sender);
    void FileListBox1Click(vcl::TObject* Sender);
    void StretchCheckClick(vcl::TObject* Sender);
    void FileEditKeyPress(vcl::TObject* Sender, QChar& Key);
    void ViewBtnClick(vcl::TObject* Sender);

    QString layoutResource() const override { return QStringLiteral(":/browser/ImageForm.layout"); }
    QString className() const override { return QStringLiteral("TImageForm"); }

protected:
    std::vector<Member> members() override;
    std::map<QString, vcl::EventHandler> handlers() override;

private:
    QString CaptionPrefix;
};

extern TImageForm* ImageForm;
