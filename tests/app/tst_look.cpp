#include "activities/braille/BrailleWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/MainWidget.h"
#include "app/MainWindow.h"
#include "app/ScaledView.h"
#include "support/TestSupport.h"
#include "users/InputDialog.h"
#include "users/UserDatabase.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QtTest>
#include <cmath>

// The looks a child with low vision needs: every text and picture of the
// high-contrast look measured against its background on the window's own
// pixels, and the full-screen mode that enlarges the window without losing
// the child's keys.
class TestLook : public QObject
{
    Q_OBJECT

    // Relative luminance and contrast ratio as the web's accessibility
    // guidelines define them; 4.5 is their minimum for ordinary text.
    static double luminance(QRgb rgb)
    {
        const auto channel = [](int value) {
            const double c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb))
            + 0.0722 * channel(qBlue(rgb));
    }
    static double contrast(QRgb a, QRgb b)
    {
        const double la = luminance(a), lb = luminance(b);
        return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
    }

    static QRgb commonest(const QImage &image, const QRegion &region)
    {
        QHash<QRgb, int> counts;
        for (const QRect &rect : region) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    if (image.rect().contains(x, y))
                        ++counts[image.pixel(x, y) | 0xff000000];
                }
            }
        }
        QRgb best = 0;
        int most = -1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.value() > most)
                std::tie(best, most) = std::make_pair(it.key(), it.value());
        }
        return best;
    }

    // Text: the background is the commonest colour of the widget's area,
    // the text the colour there that stands out from it most.
    static double textContrast(const QImage &image, const QRect &rect)
    {
        const QRgb background = commonest(image, rect);
        double best = 1;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                best = qMax(best, contrast(background, image.pixel(x, y)));
        }
        return best;
    }

    // A picture: its outer edge against the page just outside it.
    static double edgeContrast(const QImage &image, const QRect &rect)
    {
        const QRegion edge = QRegion(rect) - QRegion(rect.adjusted(3, 3, -3, -3));
        const QRegion around = QRegion(rect.adjusted(-4, -4, 4, 4)) - QRegion(rect);
        return contrast(commonest(image, edge), commonest(image, around));
    }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    DataStore m_store;

private Q_SLOTS:
    void init() { m_tree = std::make_unique<TestSupport::MediaTree>(); }
    void cleanup() { m_tree.reset(); }

    void highContrastIsReadable_data()
    {
        QTest::addColumn<int>("activity");
        QTest::addColumn<int>("sub");
        QTest::newRow("letters") << 0 << 0;
        QTest::newRow("numbers") << 0 << 6;
        QTest::newRow("braille cell") << 1 << 0;
        QTest::newRow("perkins") << 1 << 6;
        QTest::newRow("texts") << 2 << 0;
        QTest::newRow("writing") << 3 << 0;
    }

    void highContrastIsReadable()
    {
        QFETCH(int, activity);
        QFETCH(int, sub);
        MainWidget area(&m_store);
        area.setMofliIcon(activity);
        area.showActivity(activity, sub);
        const ColorManager colours;
        const ColorManager::Scheme scheme = colours.highContrastScheme(activity);
        area.setHighContrast(true);
        area.setColors(scheme.light, scheme.base, scheme.dark);
        area.resize(800, 556);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));

        // What a turn shows: a heavy letter and a word over a picture with
        // colours of its own, a half-raised cell, a line typed.
        QImage picture(300, 300, QImage::Format_RGB32);
        picture.fill(QColor(30, 30, 30));
        for (QLabel *label : area.findChildren<QLabel *>(QStringLiteral("pictureLabel"))) {
            label->setPixmap(QPixmap::fromImage(picture));
            label->show();
        }
        if (auto *letter = area.findChild<QLabel *>(QStringLiteral("letterLabel"))) {
            letter->setText(QStringLiteral("Ñ"));
            letter->adjustSize();
            letter->show();
        }
        if (auto *word = area.findChild<QLabel *>(QStringLiteral("wordLabel"))) {
            word->setText(QStringLiteral("ñandú"));
            word->adjustSize();
            word->show();
        }
        if (auto *box = area.findChild<QTextEdit *>(QStringLiteral("textBox")))
            box->setPlainText(QStringLiteral("mi mamá me mima"));
        QCoreApplication::processEvents();

        const QImage image = area.grab().toImage();
        int measured = 0;
        QStringList faint;
        for (QWidget *widget : area.findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(&area) || widget->size().isEmpty())
                continue;
            const QRect rect(widget->mapTo(&area, QPoint(0, 0)), widget->size());
            auto *label = qobject_cast<QLabel *>(widget);
            const bool picture = label && !label->pixmap().isNull();
            auto *box = qobject_cast<QTextEdit *>(widget);
            const bool text = (label && !label->text().isEmpty())
                || qobject_cast<QAbstractButton *>(widget) || (box && !box->document()->isEmpty());
            if (!picture && !text)
                continue;
            // The cell's dots and the brailler's keys are drawn on the page
            // itself; other pictures lie on a card of their own.
            const bool drawing = widget->objectName().startsWith(QLatin1String("cellDot"))
                || widget->objectName().startsWith(QLatin1String("perkinsKey"));
            const double ratio
                = picture && !drawing ? edgeContrast(image, rect) : textContrast(image, rect);
            ++measured;
            if (ratio < 4.5)
                faint << QStringLiteral("%1 \"%2\" %3:1")
                             .arg(QString::fromLatin1(widget->metaObject()->className()),
                                 label || box ? widget->objectName()
                                              : static_cast<QAbstractButton *>(widget)->text(),
                                 QString::number(ratio, 'f', 2));
        }
        if (!faint.isEmpty() || qEnvironmentVariableIsSet("PURIMBA_LOOK_PICTURES"))
            image.save(QDir::temp().filePath(
                QStringLiteral("purimba-look-%1-%2.png").arg(activity).arg(sub)));
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QStringLiteral(", "))));
        QVERIFY2(measured >= 5, "too little of the page measured");

        // The side panel keeps the activity's hue, only darker.
        const QColor panel = QColor(image.pixel(image.width() - 3, image.height() / 2));
        const QColor own = colours.scheme(activity).base;
        const int hueDifference = qAbs(panel.hsvHue() - own.hsvHue());
        QVERIFY2(qMin(hueDifference, 360 - hueDifference) <= 8,
            qPrintable(QStringLiteral("panel %1 for %2").arg(panel.name(), own.name())));
        QVERIFY(panel.value() < own.value());
    }

    // The adult's bars and menus keep the activity's hue, with text that reads.
    void highContrastMenus()
    {
        MainWindow window(true);
        window.setHighContrast(true);
        window.slotStartActivity(1, 0);
        window.statusBar()->showMessage(QStringLiteral("Idioma seleccionado : Español"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QList<QWidget *> bars { window.menuBar(), window.statusBar() };
        for (QAction *menu : window.menuBar()->actions())
            bars << menu->menu();
        for (QWidget *bar : std::as_const(bars)) {
            // The menus are laid out as they would be opened.
            if (bar->isWindow())
                bar->adjustSize();
            const QImage image = bar->grab().toImage();
            const double ratio = textContrast(image, image.rect());
            QVERIFY2(ratio >= 4.5,
                qPrintable(QStringLiteral("%1 %2 %3:1")
                               .arg(QString::fromLatin1(bar->metaObject()->className()),
                                   bar->windowTitle(), QString::number(ratio))));
            const QColor background(commonest(image, image.rect()));
            QVERIFY2(qAbs(background.hsvHue() - ColorManager().scheme(1).base.hsvHue()) <= 8,
                qPrintable(background.name()));
        }
    }

    // Back to the ordinary look: nothing of the dark one stays behind.
    void ordinaryLookComesBack()
    {
        MainWidget area(&m_store);
        area.showActivity(0, 0);
        const ColorManager colours;
        const ColorManager::Scheme ordinary = colours.scheme(0);
        area.setColors(ordinary.light, ordinary.base, ordinary.dark);
        area.resize(800, 556);
        const QImage before = area.grab().toImage();
        area.setHighContrast(true);
        const ColorManager::Scheme dark = colours.highContrastScheme(0);
        area.setColors(dark.light, dark.base, dark.dark);
        QVERIFY(area.grab().toImage() != before);
        area.setHighContrast(false);
        area.setColors(ordinary.light, ordinary.base, ordinary.dark);
        QCOMPARE(area.grab().toImage(), before);
    }

    // Enlarged to any screen: all of the page in view, proportions kept.
    void scaledViewFillsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("1280 x 1024") << QSize(1280, 1024);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080);
        QTest::newRow("smaller than the page") << QSize(640, 480);
    }

    void scaledViewFillsTheScreen()
    {
        QFETCH(QSize, screen);
        ScaledView view;
        auto *page = new QLabel(QStringLiteral("A"));
        const QSize size(800, 556);
        view.setWidget(page, size);
        view.resize(screen);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QRect shown = view.mapFromScene(QRectF(QPointF(0, 0), QSizeF(size))).boundingRect();
        QVERIFY2(view.viewport()->rect().adjusted(-1, -1, 1, 1).contains(shown),
            qPrintable(QStringLiteral("shown at %1,%2 %3x%4")
                           .arg(shown.x())
                           .arg(shown.y())
                           .arg(shown.width())
                           .arg(shown.height())));
        // One side fills the screen.
        QVERIFY(qAbs(shown.width() - screen.width()) <= 2
            || qAbs(shown.height() - screen.height()) <= 2);
        QCOMPARE(page->size(), size);
        QWidget *back = view.takeWidget();
        QCOMPARE(back, page);
        QVERIFY(!back->parentWidget());
        QCOMPARE(back->size(), size);
        delete back;
    }

    // A child's keys reach the activity before, during and after full
    // screen, and the window comes back to its own size.
    void fullScreenKeepsTheKeys()
    {
        for (const char *name : { "Te presento sonidos", "Pantalla completa" })
            m_tree->addClip(
                QStringLiteral("media/system/audio/menus/%1.ogg").arg(QString::fromUtf8(name)));
        TestSupport::ClipRecorder clips;
        MainWindow::setDelaysForTesting(0, 0);
        MainWindow window(true);
        window.activityArea()->lettersWidget()->setMofliAudio(0);
        window.showWindow();
        UserDatabase users;
        users.addUser(User(QStringLiteral("Ana")));
        Q_EMIT window.loginDialog()->chooseUser(users.findUser(QStringLiteral("Ana")));
        Q_EMIT window.loginDialog()->chooseLanguage(QStringLiteral("Espanol"));
        window.loginDialog()->hide();
        QTRY_VERIFY(window.isStarted());
        QWidget *pages = window.centralWidget();

        for (bool on : { true, false, true }) {
            window.setFullScreenMode(on);
            QCOMPARE(window.isFullScreenMode(), on);
            QCOMPARE(bool(window.scaledView()), on);
            if (on)
                QCOMPARE(window.scaledView()->widget(), pages);
            else
                QCOMPARE(window.centralWidget(), pages);
            QTRY_VERIFY(window.activityArea()->lettersWidget()->hasFocus());
            clips.clear();
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
            QTRY_VERIFY(!clips.requested.isEmpty());
        }
        window.setFullScreenMode(false);
        QCOMPARE(window.size(), QSize(800, 600));
    }
};

QTEST_MAIN(TestLook)
#include "tst_look.moc"
