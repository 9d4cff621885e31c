#include "QtDialogs.h"

#include "Texts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace twk::qt {
namespace {

QMessageBox::Icon qtIcon(platform::MessageIcon icon)
{
    switch (icon) {
    case platform::MessageIcon::Information:
        return QMessageBox::Information;
    case platform::MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case platform::MessageIcon::Critical:
        return QMessageBox::Critical;
    case platform::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtDialogs::message(const std::string& text, platform::MessageIcon icon, const std::string& title)
{
    // A box shows line breaks as LF; a stray CR would show as a blank glyph.
    QString shown = toQt(text);
    shown.remove(QLatin1Char('\r'));
    QMessageBox box(qtIcon(icon), toQt(title), shown, QMessageBox::Ok);
    box.exec();
}

QStringList qtFilters(const std::string& filter)
{
    const QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file, with or without a dot in its name.
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // Qt reads the patterns from the description's last parentheses.
        QString description = parts[i].trimmed();
        const auto open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        filters << description + QStringLiteral(" (") + patterns + QStringLiteral(")");
    }
    return filters;
}

std::string QtDialogs::openFile(const platform::OpenFileRequest& request)
{
    QFileDialog dialog(nullptr, toQt(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList filters = qtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    // Qt's own dialog matches patterns like *.TXT whatever the letter case.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.fileName.empty())
        dialog.selectFile(toQt(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return request.fileName;
    return fromQt(dialog.selectedFiles().first());
}

} // namespace twk::qt
