#include "app/CreditsWindow.h"
#include "app/MainWindow.h"
#include "app/WelcomeDialog.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using TestSupport::ClipRecorder;
using TestSupport::MediaTree;

class TestWelcomeDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithIntroAndClosesOnSpace()
    {
        MediaTree tree;
        const QString intro = tree.addClip(
            QStringLiteral("media/system/audio/intro.ogg"), QStringLiteral("tone-2s.ogg"));
        const QString blank = tree.addClip(QStringLiteral("media/system/audio/blank.ogg"));
        ClipRecorder clips;

        WelcomeDialog welcome;
        QSignalSpy done(&welcome, &WelcomeDialog::done);
        QVERIFY(welcome.isVisible());
        QVERIFY(welcome.isModal());
        QCOMPARE(welcome.size(), QSize(600, 450));
        QVERIFY(welcome.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(welcome.palette().color(QPalette::Window), QColor(0, 68, 227));
        QCOMPARE(clips.requested, QStringList { intro });

        // Only Space closes it early: a full Escape stroke is ignored too.
        QTest::keyClick(&welcome, Qt::Key_A);
        QTest::keyClick(&welcome, Qt::Key_Escape);
        QCOMPARE(done.count(), 0);
        QVERIFY(welcome.isVisible());

        QTest::keyRelease(&welcome, Qt::Key_Space);
        QCOMPARE(done.count(), 1);
        QVERIFY(!welcome.isVisible());
        QCOMPARE(clips.requested, (QStringList { intro, blank }));

        // The close timer still runs and will report done() once more.
        auto *timer = welcome.findChild<QTimer *>();
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QVERIFY(timer->isSingleShot());
        QCOMPARE(timer->interval(), 14000);
    }

    void mainWindowAppearsOnceWhateverTheDoneCount()
    {
        MediaTree tree;
        WelcomeDialog welcome;
        MainWindow window(false);
        connect(&welcome, &WelcomeDialog::done, &window, &MainWindow::showWindow);
        QVERIFY(!window.isVisible());
        QTest::keyRelease(&welcome, Qt::Key_Space);
        QVERIFY(window.isVisible());
        welcome.welcomeClose();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isTutor());
    }

    void creditsShowThePictureAndCloseByHiding()
    {
        MediaTree tree;
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        tree.addFolder(QStringLiteral("media/system/ui"));
        QVERIFY(picture.save(tree.root() + QStringLiteral("/media/system/ui/credits.jpg"), "JPG"));

        QWidget owner;
        auto *credits = new CreditsWindow(&owner);
        QVERIFY(!credits->isVisible());
        QCOMPARE(credits->windowTitle(), QStringLiteral("Creditos"));
        auto *label = credits->findChild<QLabel *>();
        QVERIFY(label);
        QCOMPARE(label->pixmap().size(), QSize(40, 30));
        credits->show();
        credits->close();
        QVERIFY(!credits->isVisible());
        // Closing hid it; it can be shown again.
        QVERIFY(owner.findChild<CreditsWindow *>() == credits);
        credits->show();
        QVERIFY(credits->isVisible());
    }

    void missingIntroIsSilent()
    {
        MediaTree tree;
        ClipRecorder clips;
        WelcomeDialog welcome;
        QTest::qWait(100);
        QVERIFY(clips.started.isEmpty());
        QVERIFY(welcome.isVisible());
    }
};

QTEST_MAIN(TestWelcomeDialog)
#include "tst_welcomedialog.moc"
