// The file-open and file-save dialogs of file mode, as settings plus one call each, so that the
// window keeps its dialogs' state (filter index, file name) and tests can answer for the user.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

struct FileDialogSettings {
    // "Name|pattern|Name|pattern", the filter form the window's dialogs are given in.
    QString filter;
    int filterIndex = 1;  // 1 is the first entry
    QString defaultExt;   // appended to a typed name without extension
    QString fileName;     // the current file name: a path, or a pattern such as "*.Txt"
};

// The filter as the toolkit lists it: "Arquivo DXF (*.Dxf)", one entry per name and pattern.
QStringList nameFilters(const QString& filter);

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> open(QWidget* parent, const FileDialogSettings& settings) = 0;
    virtual std::optional<QString> save(QWidget* parent, const FileDialogSettings& settings) = 0;
};

// The toolkit's own dialogs. Their patterns match letter case aside, so "*.Dxf" lists
// "plan.dxf" and "PLAN.DXF" too. A file name holding "*" or "?" is a pattern: the dialog
// opens on the current folder with the filter entry of that pattern chosen.
class SystemFileDialogs : public FileDialogs {
public:
    std::optional<QString> open(QWidget* parent, const FileDialogSettings& settings) override;
    std::optional<QString> save(QWidget* parent, const FileDialogSettings& settings) override;
};

class QFileDialog;
// Sets a dialog up from the settings; shared by the two dialogs and looked at by the tests.
void configureFileDialog(QFileDialog& dialog, const FileDialogSettings& settings);
