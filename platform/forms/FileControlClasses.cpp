#include "filectrls/FileControls.h"
#include "forms/ControlFactory.h"

namespace vcl {

void ControlFactory::addFileControls()
{
    add<TDriveComboBox>(QStringLiteral("TDriveComboBox"));
    add<TDirectoryListBox>(QStringLiteral("TDirectoryListBox"));
    add<TFileListBox>(QStringLiteral("TFileListBox"));
    add<TFilterComboBox>(QStringLiteral("TFilterComboBox"));
}

} // namespace vcl
