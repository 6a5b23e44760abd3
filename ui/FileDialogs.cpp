#include "ui/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QStringList nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return filters;
}

namespace {

bool isPattern(const QString& fileName)
{
    return fileName.contains(QLatin1Char('*')) || fileName.contains(QLatin1Char('?'));
}

// The entry whose pattern is `pattern`, letter case aside; -1 when none is.
qsizetype filterOfPattern(const QStringList& filters, const QString& pattern)
{
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i].endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'), Qt::CaseInsensitive))
            return i;
    return -1;
}

std::optional<QString> run(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

void configureFileDialog(QFileDialog& dialog, const FileDialogSettings& settings)
{
    // The toolkit's own dialog, because its name filters can be told to ignore letter case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    QStringList filters = nameFilters(settings.filter);
    QString chosen = filters.value(settings.filterIndex - 1, filters.value(0));
    if (isPattern(settings.fileName)) {
        const qsizetype entry = filterOfPattern(filters, settings.fileName);
        if (entry < 0) filters.prepend(settings.fileName);
        chosen = filters.value(entry < 0 ? 0 : entry);
        dialog.setNameFilters(filters);
        dialog.setDirectory(QDir::current());
    } else {
        dialog.setNameFilters(filters);
        const QFileInfo file(settings.fileName);
        dialog.setDirectory(file.absoluteDir());
        dialog.selectFile(file.fileName());
    }
    dialog.selectNameFilter(chosen);
    QString suffix = settings.defaultExt;
    suffix.remove(QLatin1Char('*'));
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
}

std::optional<QString> SystemFileDialogs::open(QWidget* parent, const FileDialogSettings& settings)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    configureFileDialog(dialog, settings);
    return run(dialog);
}

std::optional<QString> SystemFileDialogs::save(QWidget* parent, const FileDialogSettings& settings)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    configureFileDialog(dialog, settings);
    return run(dialog);
}
