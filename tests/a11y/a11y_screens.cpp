// The adults' screens one after another, for the screen reader walk
// (walk_screens.py): each is shown on its own, announced on standard output
// as "screen<TAB>label<TAB>window name<TAB>window id<TAB>key", and replaced
// by the next when a line arrives on standard input. "end" follows the last
// one. The key (xdotool's name, or none) is the one an adult presses to bring
// the keyboard to the screen.
//
// argv[1]: the activity catalogue (data/activities.xml) the suggestion forms
// offer.

#include "admin/AdmWindow.h"
#include "admin/AdminFixture.h"
#include "admin/MediaWidget.h"
#include "app/KeyboardWidget.h"
#include "app/MenuWidget.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"
#include "users/InputDialog.h"
#include "users/ReportDialog.h"
#include "users/UserDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileSystemModel>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

struct Screen
{
    const char *label;
    std::function<QWidget *()> make;
    const char *key = "";
};

// The administrator at a media tab, with the item at path (relative to the
// language) chosen in its tree, so that the buttons for it are enabled.
std::function<QWidget *()> adminAt(int tab, const QString &path)
{
    return [=] {
        auto *admin = new AdmWindow;
        auto *select = admin->findChild<QComboBox *>(QStringLiteral("selectLanguage"));
        select->setCurrentText(AdminFixture::language());
        admin->slotSelectLanguage();
        admin->findChild<QTabWidget *>()->setCurrentIndex(tab);
        auto *tree = admin->findChild<QTreeView *>(path.section(QLatin1Char('/'), 0, 0));
        const auto *files = static_cast<const QFileSystemModel *>(tree->model());
        tree->setCurrentIndex(
            files->index(MediaPaths::languageRoot(AdminFixture::language()) + '/' + path));
        return admin;
    };
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    AdminFixture fixture;
    fixture.tree().addFolder(QStringLiteral("data"));
    if (argc > 1)
        QFile::copy(QString::fromLocal8Bit(argv[1]), fixture.root() + "/data/activities.xml");
    const QStringList files { "image.jpg", "sound.ogg", "name.ogg" };
    fixture.addItem("Letras/A/Abeja", files);
    fixture.addItem("Numeros/2/Dos", files);
    fixture.addItem("Textos/Cuentos/Luna", { "menu.ogg", "image1.jpg", "audio1.ogg" });

    DataStore store;
    UserDatabase users(&store);
    users.addUser(QStringLiteral("Ana"));
    users.addUser(QStringLiteral("Pedro"));

    const auto form = [](MediaWidget::Kind kind, const char *first, const char *second) {
        return [=]() -> QWidget * {
            return new MediaWidget(kind, AdminFixture::language(), first, second);
        };
    };
    const Screen screens[] = {
        { "login", [&] { return new InputDialog(&users, true); } },
        { "login, buttons enabled",
            [&] {
                auto *login = new InputDialog(&users, true);
                login->slotEnableAdd();
                login->slotEnableLogin();
                login->slotEnableDelete();
                return login;
            } },
        { "side panel",
            [&] {
                auto *panel = new MenuWidget(&store);
                panel->setWindowTitle(QStringLiteral("Panel lateral"));
                return panel;
            },
            "ctrl+F6" },
        { "side panel, writing",
            [&] {
                auto *panel = new MenuWidget(&store);
                panel->setWindowTitle(QStringLiteral("Panel lateral"));
                panel->setEscritura();
                return panel;
            },
            "ctrl+F6" },
        { "letter selection", [] { return new KeyboardWidget; } },
        { "report",
            [] {
                auto *report = new ReportDialog(nullptr, nullptr);
                report->setReport(QStringLiteral("<b>Usuario : Ana</b>"), QString());
                return report;
            } },
        { "administrator, languages", [] { return new AdmWindow; } },
        { "administrator, letter", adminAt(1, "Letras/A") },
        { "administrator, word", adminAt(1, "Letras/A/Abeja") },
        { "administrator, digit", adminAt(2, "Numeros/2") },
        { "administrator, number", adminAt(2, "Numeros/2/Dos") },
        { "administrator, category", adminAt(3, "Textos/Cuentos") },
        { "administrator, text", adminAt(3, "Textos/Cuentos/Luna") },
        { "new word", form(MediaWidget::NewWord, "A", "") },
        { "new number", form(MediaWidget::NewNumber, "2", "") },
        { "new text", form(MediaWidget::NewText, "Cuentos", "") },
        { "letter suggestions", form(MediaWidget::LetterSuggestions, "A", "") },
        { "number suggestions", form(MediaWidget::NumberSuggestions, "2", "") },
        { "text suggestions", form(MediaWidget::TextSuggestions, "Cuentos", "Luna") },
        { "edit word", form(MediaWidget::EditWord, "A", "Abeja") },
        { "edit number", form(MediaWidget::EditNumber, "2", "Dos") },
        { "edit text", form(MediaWidget::EditText, "Cuentos", "Luna") },
    };

    std::unique_ptr<QWidget> shown;
    size_t next = 0;
    QTimer exposed;
    exposed.setInterval(20);
    const auto showNext = [&] {
        shown.reset();
        if (next == std::size(screens)) {
            std::puts("end");
            std::fflush(stdout);
            QApplication::quit();
            return;
        }
        shown.reset(screens[next].make());
        shown->show();
        shown->activateWindow();
        exposed.start();
    };
    // Announced once the window is on the screen, so the walker need not
    // guess how long that takes.
    QObject::connect(&exposed, &QTimer::timeout, [&] {
        if (!shown->windowHandle() || !shown->windowHandle()->isExposed())
            return;
        exposed.stop();
        std::printf("screen\t%s\t%s\t%llu\t%s\n", screens[next].label,
            qPrintable(
                shown->accessibleName().isEmpty() ? shown->windowTitle() : shown->accessibleName()),
            static_cast<unsigned long long>(shown->winId()), screens[next].key);
        std::fflush(stdout);
        ++next;
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            // The walker has gone.
            QApplication::quit();
            return;
        }
        showNext();
    });
    QTimer::singleShot(0, showNext);
    return QApplication::exec();
}
