#include "QtDialogs.h"

#include "Texts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
    makeToolkit();
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
        if (patterns.trimmed().compare(QStringLiteral("*.EXE"), Qt::CaseInsensitive) == 0)
            patterns = QStringLiteral("*");
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

bool isProgramFilter(const QString& qtFilter)
{
    return qtFilter.startsWith(QStringLiteral("Applications")) && qtFilter.endsWith(QStringLiteral("(*)"));
}

QString refusal(const platform::OpenFileRequest& request, const QString& chosen)
{
    const QFileInfo file(chosen);
    if (request.fileMustExist && !file.isFile())
        return chosen + QStringLiteral("\nFile not found.\nCheck the file name and try again.");
    if (request.pathMustExist && !file.absoluteDir().exists())
        return chosen + QStringLiteral("\nThe folder does not exist.\nCheck the folder and try again.");
    return {};
}

namespace {

// Keeps itself open while the chosen name cannot be taken, saying why.
class CheckedFileDialog final : public QFileDialog {
public:
    CheckedFileDialog(const platform::OpenFileRequest& request)
        : QFileDialog(nullptr, toQt(request.title)), request_(request)
    {
    }
    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            const QString why = refusal(request_, chosen.first());
            // A folder typed in the name box is opened, as the dialog does itself.
            if (!why.isEmpty() && !QFileInfo(chosen.first()).isDir()) {
                QMessageBox::warning(this, windowTitle(), why);
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    const platform::OpenFileRequest& request_;
};

void showOnlyProgramsUnder(QFileDialog& dialog, const QString& filter)
{
    const QDir::Filters folders = QDir::AllDirs | QDir::NoDot;
    dialog.setFilter(isProgramFilter(filter) ? folders | QDir::Files | QDir::Executable : folders | QDir::Files);
}

} // namespace

std::string QtDialogs::openFile(const platform::OpenFileRequest& request)
{
    makeToolkit();
    CheckedFileDialog dialog(request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList filters = qtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    showOnlyProgramsUnder(dialog, dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { showOnlyProgramsUnder(dialog, filter); });
    // Qt's own dialog matches patterns like *.TXT whatever the letter case.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.fileName.empty())
        dialog.selectFile(toQt(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return request.fileName;
    return fromQt(dialog.selectedFiles().first());
}

} // namespace twk::qt
