#pragma once

#include "support/TestSupport.h"

#include <QList>
#include <QString>
#include <QStringList>

class QPushButton;
class QWidget;

// A temporary installation with one language, "Español", and the teacher's
// own files to choose from; every message box, question and file dialog is
// answered in advance and recorded.
class AdminFixture
{
public:
    AdminFixture();
    ~AdminFixture();

    static QString language() { return QStringLiteral("Español"); }

    // Every box shown, as "title: text".
    QStringList messages;
    // Every question asked, as "title: text"; answered from answers, "&Si"
    // when none is left.
    QStringList questions;
    QList<bool> answers;
    // Every file dialog opened, as "title | filter"; answered from chosen,
    // cancelled when none is left.
    QStringList fileDialogs;
    QStringList chosen;

    QString root() const { return m_tree.root(); }
    TestSupport::MediaTree &tree() { return m_tree; }
    // A JPEG picture (each name in a colour of its own) or a copy of a
    // fixture clip among the teacher's files, outside the media tree.
    QString picture(const QString &name);
    QString clip(const QString &name, const QString &fixture = QStringLiteral("tone-50ms.ogg"));
    QString teacherFile(const QString &name, const QByteArray &content);
    // A word folder of a letter or digit ("Letras/A/Abeja") with the given
    // files, each a clip or a picture by its name.
    QString addItem(const QString &relativeFolder, const QStringList &files);
    QString mediaPath(const QString &relative) const;

    // Every entry under the installation with the bytes of each file, to see
    // that nothing changed.
    QStringList snapshot() const;
    static QByteArray bytes(const QString &path);

private:
    TestSupport::MediaTree m_tree;
};

// The push button with this text inside parent.
QPushButton *button(QWidget *parent, const QString &text);
