#include "platform/file_dialogs.h"

#include "platform/german_qt_texts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>

#include <vector>

namespace {

// The split of a "," separated list of extensions, without trimming; none for "".
QStringList filetypes(const std::string& fileTypes)
{
    return fileTypes.empty() ? QStringList() : QString::fromStdString(fileTypes).split(QLatin1Char(','));
}

// A file dialog labelled in German that accepts exactly what it was asked for.
// Qt puts its own accept text ("Open") on the button whenever the name field names a folder,
// so the German labels are set again after every change of the name, the selection or the
// folder. QFileDialog has no mode for "a file or a folder", so in file mode a selected folder
// is accepted here when folders may be chosen (Qt would only open it), and a file only when
// files may be chosen and, when types are given, it has one of them (a typed name is not held
// back by the list's filter).
class Panel : public QFileDialog {
public:
    struct Labels {
        QString accept, fileName;
    };

    Panel(AcceptMode mode, FileMode fileMode, Labels labels)
        : labels_(std::move(labels))
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(mode);
        setFileMode(fileMode);
        keepLabels();
        for (QLineEdit* field : findChildren<QLineEdit*>())
            connect(field, &QLineEdit::textChanged, this, &Panel::keepLabels);
        for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
            if (view->selectionModel() != nullptr)
                connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Panel::keepLabels);
        connect(this, &QFileDialog::currentChanged, this, &Panel::keepLabels);
        connect(this, &QFileDialog::directoryEntered, this, &Panel::keepLabels);
        connect(this, &QFileDialog::filterSelected, this, &Panel::keepLabels);
    }

    // Open panels only: which kinds of entry, and which file types, may be chosen.
    void choose(bool files, bool directories, QStringList types)
    {
        chooseFiles_ = files;
        chooseDirectories_ = directories;
        types_ = std::move(types);
    }

    void accept() override
    {
        if (acceptMode() == AcceptOpen && fileMode() == QFileDialog::ExistingFile) {
            const QStringList files = selectedFiles();
            if (files.size() == 1) {
                const QFileInfo info(files.first());
                if (info.isDir() && chooseDirectories_) {
                    QDialog::accept();
                    return;
                }
                if (!info.isDir() && (!chooseFiles_ || !hasType(info.fileName()))) return;
            }
        }
        QFileDialog::accept();
    }

private:
    void keepLabels()
    {
        setLabelText(QFileDialog::Accept, labels_.accept);
        setLabelText(QFileDialog::FileName, labels_.fileName);
        setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
        setLabelText(QFileDialog::FileType, QStringLiteral("Dateien des Typs:"));
        setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    }

    bool hasType(const QString& name) const
    {
        if (types_.isEmpty()) return true;
        for (const QString& type : types_)
            if (name.endsWith(QLatin1Char('.') + type, Qt::CaseInsensitive)) return true;
        return false;
    }

    Labels labels_;
    bool chooseFiles_ = true;
    bool chooseDirectories_ = false;
    QStringList types_;
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
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(QString::fromStdString(title));
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
    usegermanqttexts();
    const bool foldersOnly = chooseDirectories && !chooseFiles;
    Panel dialog(QFileDialog::AcceptOpen, foldersOnly ? QFileDialog::Directory : QFileDialog::ExistingFile,
                 {chooseDirectories ? QStringLiteral("Wählen") : QStringLiteral("Öffnen"), QStringLiteral("Dateiname:")});
    if (foldersOnly) dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.choose(chooseFiles, chooseDirectories, filetypes(fileTypes));
    setupdialog(dialog, title, message);
    const std::string filter = filetypefilter(fileTypes);
    if (!filter.empty()) dialog.setNameFilter(QString::fromStdString(filter));
    if (dialog.exec() != QDialog::Accepted) return "";
    return chosenurl(dialog);
}

std::string runsavedialog(const std::string& fileName, const std::string& title, const std::string& message,
                          const std::string& fileTypes)
{
    if (!haveapplication()) return "";
    usegermanqttexts();
    Panel dialog(QFileDialog::AcceptSave, QFileDialog::AnyFile, {QStringLiteral("Sichern"), QStringLiteral("Sichern unter:")});
    setupdialog(dialog, title, message);
    dialog.setOption(QFileDialog::ReadOnly, false);  // the user may make new folders
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
