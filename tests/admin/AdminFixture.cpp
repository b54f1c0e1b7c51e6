#include "AdminFixture.h"

#include "app/Dialogs.h"
#include "content/MediaPaths.h"

#include <QColor>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>

AdminFixture::AdminFixture()
{
    const QString languages = QStringLiteral("media/languages/") + language();
    for (const QString &letter : MediaPaths::alphabet())
        m_tree.addFolder(languages + QStringLiteral("/Letras/") + letter);
    for (const QString &digit : MediaPaths::digits())
        m_tree.addFolder(languages + QStringLiteral("/Numeros/") + digit);
    for (const QString &category : MediaPaths::textCategories())
        m_tree.addFolder(languages + QStringLiteral("/Textos/") + category);
    m_tree.addFolder(QStringLiteral("chosen"));

    Dialogs::setInformationHandler(
        [this](const QString &title, const QString &text) { messages << title + ": " + text; });
    Dialogs::setQuestionHandler([this](const QString &title, const QString &text) {
        questions << title + ": " + text;
        return answers.isEmpty() ? true : answers.takeFirst();
    });
    Dialogs::setOpenFileHandler([this](const QString &title, const QString &filter) {
        fileDialogs << title + " | " + filter;
        return chosen.isEmpty() ? QString() : chosen.takeFirst();
    });
}

AdminFixture::~AdminFixture()
{
    Dialogs::setInformationHandler(nullptr);
    Dialogs::setQuestionHandler(nullptr);
    Dialogs::setOpenFileHandler(nullptr);
}

QString AdminFixture::picture(const QString &name)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(int(qHash(name) % 360), 200, 200));
    const QString path = m_tree.root() + QStringLiteral("/chosen/") + name;
    image.save(path, "JPG");
    return path;
}

QString AdminFixture::clip(const QString &name, const QString &fixture)
{
    return m_tree.addClip(QStringLiteral("chosen/") + name, fixture);
}

QString AdminFixture::teacherFile(const QString &name, const QByteArray &content)
{
    return m_tree.addFile(QStringLiteral("chosen/") + name, content);
}

QString AdminFixture::addItem(const QString &relativeFolder, const QStringList &files)
{
    const QString folder = m_tree.addFolder(
        QStringLiteral("media/languages/") + language() + QLatin1Char('/') + relativeFolder);
    for (const QString &file : files) {
        const QString source = file.endsWith(QLatin1String(".jpg")) ? picture(file) : clip(file);
        QFile::copy(source, folder + QLatin1Char('/') + file);
    }
    return folder;
}

QString AdminFixture::mediaPath(const QString &relative) const
{
    return MediaPaths::languageRoot(language()) + QLatin1Char('/') + relative;
}

QStringList AdminFixture::snapshot() const
{
    QStringList entries;
    QDirIterator it(m_tree.root(),
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QString entry = path.mid(m_tree.root().size());
        if (info.isFile() && !info.isSymLink())
            entry += QLatin1Char(' ')
                + QCryptographicHash::hash(bytes(path), QCryptographicHash::Md5).toHex();
        entries << entry;
    }
    entries.sort();
    return entries;
}

QByteArray AdminFixture::bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QPushButton *button(QWidget *parent, const QString &text)
{
    for (QPushButton *button : parent->findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button;
    }
    qFatal("no button %s", qPrintable(text));
}
