#include "platform/file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>

#include <vector>

namespace {

// An open dialog that accepts exactly what it was asked for: QFileDialog has no mode for
// "a file or a folder", so in file mode a selected folder is accepted here when folders may
// be chosen (Qt would only open it), and no file is accepted when files may not be.
class OpenDialog : public QFileDialog {
public:
    OpenDialog(bool chooseFiles, bool chooseDirectories)
        : chooseFiles_(chooseFiles), chooseDirectories_(chooseDirectories)
    {
    }

    void accept() override
    {
        if (fileMode() == QFileDialog::ExistingFile) {
            const QStringList files = selectedFiles();
            if (files.size() == 1) {
                const QFileInfo info(files.first());
                if (info.isDir() && chooseDirectories_) {
                    QDialog::accept();
                    return;
                }
                if (!info.isDir() && !chooseFiles_) return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool chooseFiles_;
    bool chooseDirectories_;
};

bool haveapplication()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// Shows `message` above the dialog's own rows.
void addmessage(QFileDialog& dialog, const std::string& message)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (message.empty() || grid == nullptr) return;
    struct Placed {
        QLayoutItem* item;
        int row, column, rowSpan, columnSpan;
    };
    std::vector<Placed> placed;
    for (int index = grid->count() - 1; index >= 0; --index) {
        Placed entry{};
        grid->getItemPosition(index, &entry.row, &entry.column, &entry.rowSpan, &entry.columnSpan);
        entry.item = grid->takeAt(index);
        placed.push_back(entry);
    }
    for (const Placed& entry : placed)
        grid->addItem(entry.item, entry.row + 1, entry.column, entry.rowSpan, entry.columnSpan);
    auto* label = new QLabel(QString::fromStdString(message), &dialog);
    label->setObjectName("panelMessage");
    label->setWordWrap(true);
    grid->addWidget(label, 0, 0, 1, grid->columnCount());
}

void setupdialog(QFileDialog& dialog, const std::string& title, const std::string& message)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    addmessage(dialog, message);
}

// The URL text of the dialog's one chosen path; a folder's ends in "/".
std::string chosenurl(const QFileDialog& dialog)
{
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return "";
    QString path = files.first();
    if (QFileInfo(path).isDir() && !path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

std::string filetypefilter(const std::string& fileTypes)
{
    if (fileTypes.empty()) return "";
    std::string filter;
    size_t start = 0;
    for (;;) {
        const size_t comma = fileTypes.find(',', start);
        if (!filter.empty()) filter += ' ';
        filter += "*." + fileTypes.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return filter;
}

std::string runopendialog(const std::string& title, const std::string& message, const std::string& fileTypes,
                          bool chooseFiles, bool chooseDirectories)
{
    if (!haveapplication()) return "";
    OpenDialog dialog(chooseFiles, chooseDirectories);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (chooseDirectories && !chooseFiles) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    setupdialog(dialog, title, message);
    dialog.setLabelText(QFileDialog::Accept, chooseDirectories ? QStringLiteral("Wählen") : QStringLiteral("Öffnen"));
    const std::string filter = filetypefilter(fileTypes);
    if (!filter.empty()) dialog.setNameFilter(QString::fromStdString(filter));
    if (dialog.exec() != QDialog::Accepted) return "";
    return chosenurl(dialog);
}

std::string runsavedialog(const std::string& fileName, const std::string& title, const std::string& message,
                          const std::string& fileTypes)
{
    if (!haveapplication()) return "";
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    setupdialog(dialog, title, message);
    dialog.setOption(QFileDialog::ReadOnly, false);  // the user may make new folders
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Sichern"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Sichern unter:"));
    const std::string filter = filetypefilter(fileTypes);
    QStringList filters;
    if (!filter.empty()) {
        filters << QString::fromStdString(filter);
        // A name typed without an extension gets the first type's.
        dialog.setDefaultSuffix(QString::fromStdString(fileTypes.substr(0, fileTypes.find(','))));
    }
    filters << QStringLiteral("*");
    dialog.setNameFilters(filters);
    dialog.selectFile(QString::fromStdString(fileName));
    if (dialog.exec() != QDialog::Accepted) return "";
    return chosenurl(dialog);
}
