// The open and save panels: the path of a chosen URL, the type filter, and panels answered
// while a worker or the GUI thread itself waits for them.
#include "events/file_panels.h"
#include "platform/file_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

TEST(FilePanels, PathOfAChosenUrlAndTypeFilter)
{
    // A decomposed ü is composed; bytes that are not UTF-8 are left as they are.
    const std::pair<const char*, std::string> paths[] = {
        {"file:///tmp/a%20b.txt", "/tmp/a b.txt"}, {"file:///tmp/dir/", "/tmp/dir/"}, {"file://", ""},
        {"file:///tmp/Mu%CC%88ller", "/tmp/M\xC3\xBCller"}, {"/tmp/100%", "/tmp/100%"}, {"file:///%FF%2", "/\xFF%2"}};
    for (const auto& [url, path] : paths) EXPECT_EQ(panelpath(url), path) << url;
    EXPECT_EQ(filetypefilter(""), "");  // "txt,md": the open panel below
}

namespace {

// Answers every modal file dialog that shows up with `answer`, while the timer lives.
std::unique_ptr<QTimer> answerDialogs(std::function<void(QFileDialog*)> answer)
{
    auto timer = std::make_unique<QTimer>();
    auto answering = std::make_shared<bool>(false);  // an answer may wait for events itself
    QObject::connect(timer.get(), &QTimer::timeout, [answer, answering] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || *answering) return;
        *answering = true;
        answer(dialog);
        *answering = false;
    });
    timer->start(5);
    return timer;
}

}  // namespace

TEST(FilePanels, AFolderOnTheGuiThreadAndACancelledPanel)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString prompt;
    auto chooser = answerDialogs([&](QFileDialog* dialog) {
        prompt = dialog->labelText(QFileDialog::Accept);
        dialog->setDirectory(folder.path());
        static_cast<QDialog*>(dialog)->accept();
    });
    // A folder keeps its trailing "/".
    EXPECT_EQ(t_OpenPanel("", "", "", false, true), folder.path().toStdString() + "/");
    EXPECT_EQ(prompt, "Wählen");
    chooser = answerDialogs([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(t_SavePanel("Bericht", "", "", ""), "");
}

namespace {

// The texts a file dialog shows: accept button, "Look in", file name and type labels, and the
// tool tip of its new-folder button (one of Qt's own texts).
std::string shownTexts(QFileDialog* dialog)
{
    QElapsedTimer waited;  // the folder's entries come in the background
    waited.start();
    while (waited.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QStringList texts;
    for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
        if (dialog->findChild<QDialogButtonBox*>()->buttonRole(button) == QDialogButtonBox::AcceptRole) texts << button->text();
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
        if (auto* label = dialog->findChild<QLabel*>(name)) texts << label->text();
    if (auto* button = dialog->findChild<QToolButton*>("newFolderButton")) texts << button->toolTip();
    return texts.join('|').toStdString();
}

// Selects the entry `name` in the dialog's list of files, as a click does.
void selectInList(QFileDialog* dialog, const QString& name)
{
    auto* list = dialog->findChild<QListView*>("listView");
    QElapsedTimer waited;
    waited.start();
    QModelIndex entry;
    while (!entry.isValid() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0, list->rootIndex()), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (!found.isEmpty()) entry = found.first();
    }
    ASSERT_TRUE(entry.isValid()) << name.toStdString();
    list->selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
}

// Types `name` into the dialog's name field.
void type(QFileDialog* dialog, const QString& name)
{
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
}

}  // namespace

// The open panel for a worker, the save panel on the GUI thread.
TEST(FilePanels, GermanAfterEveryFolderChangeAndOnlyFilesOfTheGivenTypes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid() && QDir(folder.path()).mkdir("Ordner"));
    for (const char* name : {"a b.txt", "other.pdf"}) ASSERT_TRUE(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));

    std::vector<std::string> seen;
    QStringList opened;  // the open panel's filter, title and message
    QString proposed;
    bool otherTypeTaken = false;
    auto chooser = answerDialogs([&](QFileDialog* dialog) {
        const bool open = dialog->acceptMode() == QFileDialog::AcceptOpen;
        if (open) {
            opened = dialog->nameFilters() << dialog->windowTitle();
            if (auto* label = dialog->findChild<QLabel*>("panelMessage")) opened << label->text();
        } else {
            proposed = dialog->selectedFiles().value(0);
        }
        dialog->setDirectory(folder.path());
        seen.push_back(shownTexts(dialog));
        type(dialog, "Ordner");  // a folder named
        seen.push_back(shownTexts(dialog));
        selectInList(dialog, "Ordner");  // a folder chosen in the list
        seen.push_back(shownTexts(dialog));
        if (open) {
            type(dialog, "other.pdf");
            static_cast<QDialog*>(dialog)->accept();          // as the accept button does
            otherTypeTaken = !dialog->isVisible();
            if (dialog->isVisible()) type(dialog, "a b.txt");
        } else {
            type(dialog, "neu");
        }
        if (dialog->isVisible()) static_cast<QDialog*>(dialog)->accept();
        if (dialog->isVisible()) dialog->reject();
    });
    std::atomic<bool> done{false};
    std::string path;
    std::thread worker([&] {
        path = t_OpenPanel("Laden", "Eine Textdatei", "txt,md", true, false);
        done = true;
    });
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(path, folder.filePath("a b.txt").toStdString());
    EXPECT_EQ(opened, (QStringList{"*.txt *.md", "Laden", "Eine Textdatei"}));
    EXPECT_FALSE(otherTypeTaken);
    EXPECT_EQ(t_SavePanel("Bericht", "", "", "txt,md"), folder.filePath("neu.txt").toStdString());
    EXPECT_TRUE(proposed.endsWith("/Bericht.txt")) << proposed.toStdString();  // with the first type
    const std::string open = "Öffnen|Suchen in:|Dateiname:|Dateien des Typs:|Neuen Ordner erstellen";
    const std::string save = "Sichern|Suchen in:|Sichern unter:|Dateien des Typs:|Neuen Ordner erstellen";
    EXPECT_EQ(seen, (std::vector<std::string>{open, open, open, save, save, save}));
}
