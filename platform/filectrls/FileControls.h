#pragma once
// The four linked file controls.
#include "filectrls/DirectoryListBox.h"
#include "filectrls/DriveComboBox.h"
#include "filectrls/FileListBox.h"
#include "filectrls/FilterComboBox.h"
