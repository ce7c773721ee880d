// The open and save panels: the path of a chosen URL, the type filter, and panels answered
// while a worker or the GUI thread itself waits for them.
#include "events/file_panels.h"
#include "platform/file_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

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
    EXPECT_EQ(filetypefilter("txt,md"), "*.txt *.md");
    EXPECT_EQ(filetypefilter(""), "");
}

namespace {

// Answers every modal file dialog that shows up with `answer`, while the timer lives.
std::unique_ptr<QTimer> answerDialogs(std::function<void(QFileDialog*)> answer)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) answer(dialog);
    });
    timer->start(5);
    return timer;
}

}  // namespace

TEST(FilePanels, OpenAndSavePanelsForAWorkerAndForTheGuiThread)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile(folder.filePath("a b.txt")).open(QIODevice::WriteOnly));

    QStringList filters;
    QString prompt, title, message;
    auto chooser = answerDialogs([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        prompt = dialog->labelText(QFileDialog::Accept);
        title = dialog->windowTitle();
        if (auto* label = dialog->findChild<QLabel*>("panelMessage")) message = label->text();
        dialog->setDirectory(folder.path());
        dialog->selectFile("a b.txt");
        static_cast<QDialog*>(dialog)->accept();  // as the accept button does
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
    EXPECT_EQ((filters + QStringList{prompt, title, message}), (QStringList{"*.txt *.md", "Öffnen", "Laden", "Eine Textdatei"}));

    chooser = answerDialogs([&](QFileDialog* dialog) {
        prompt = dialog->labelText(QFileDialog::Accept);
        dialog->setDirectory(folder.path());
        static_cast<QDialog*>(dialog)->accept();
    });
    // On the GUI thread itself: a folder keeps its trailing "/".
    EXPECT_EQ(t_OpenPanel("", "", "", false, true), folder.path().toStdString() + "/");
    EXPECT_EQ(prompt, "Wählen");

    // The save panel, chosen and cancelled.
    QString proposed, nameLabel;
    chooser = answerDialogs([&](QFileDialog* dialog) {
        proposed = dialog->selectedFiles().value(0);
        prompt = dialog->labelText(QFileDialog::Accept);
        nameLabel = dialog->labelText(QFileDialog::FileName);
        dialog->selectFile(folder.filePath("neu"));
        static_cast<QDialog*>(dialog)->accept();  // as the accept button does
    });
    EXPECT_EQ(t_SavePanel("Bericht", "Sichern", "", "txt,md"), folder.filePath("neu.txt").toStdString());
    EXPECT_TRUE(proposed.endsWith("/Bericht.txt")) << proposed.toStdString();  // with the first type
    EXPECT_EQ((QStringList{prompt, nameLabel}), (QStringList{"Sichern", "Sichern unter:"}));

    chooser = answerDialogs([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(t_SavePanel("Bericht", "", "", ""), "");
}
