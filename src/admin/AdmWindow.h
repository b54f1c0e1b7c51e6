#pragma once

#include "admin/MediaWidget.h"
#include "content/DataStore.h"

#include <QMainWindow>
#include <QModelIndex>
#include <memory>

class ActivityCatalogue;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeView;

// The media administrator: creates, selects and deletes languages, and lists
// the letters' words, the numbers and the texts of the selected language,
// whose forms (MediaWidget) it opens. Everything it changes lies under
// "media/languages" of the program's folder. It never opens the sound device.
class AdmWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit AdmWindow(QWidget *parent = nullptr);
    ~AdmWindow() override;

    // The catalogue whose activities the suggestion forms offer; without one
    // the window reads "data/activities.xml" itself.
    void setCatalogue(const ActivityCatalogue *catalogue) { m_catalogue = catalogue; }

    QString currentLanguage() const { return m_language; }
    bool isLanguageSelected() const { return m_selected; }

public Q_SLOTS:
    void slotSelectLanguage();
    void slotUnSelectLanguage();
    void slotAddLanguage();
    void slotDeleteLanguage();
    void slotInsertLetter();
    void slotEditLetter();
    void slotDeleteLetter();
    void slotInsertNumber();
    void slotEditNumber();
    void slotDeleteNumber();
    void slotInsertText();
    void slotEditText();
    void slotDeleteText();
    void slotLetterClicked(const QModelIndex &index);
    void slotNumberClicked(const QModelIndex &index);
    void slotTextClicked(const QModelIndex &index);
    void slotRefresh();
    void slotRefreshParent();
    void slotLetterSugerencias();
    void slotNumberSugerencias();
    void slotTextSugerencias();
    void slotTabs(int tab);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // One of the tabs "Letras", "Numeros", "Textos".
    struct MediaTab
    {
        QWidget *page = nullptr;
        QLabel *heading = nullptr;
        QTreeView *tree = nullptr;
        QPushButton *suggestions = nullptr;
        QPushButton *add = nullptr;
        QPushButton *edit = nullptr;
        QPushButton *remove = nullptr;
    };

    QWidget *makeLanguagesTab();
    MediaTab makeMediaTab(const QString &name, const QStringList &buttons);
    void fillLanguages(const QString &select = QString());
    void updateLanguageButtons();
    void setMediaTabsEnabled(bool enabled);
    // 1 for a letter, digit or category, 2 for a word, number or text, 0 for
    // no item or anything deeper.
    int level(const MediaTab &tab, const QModelIndex &index) const;
    void enableButtons(MediaTab &tab, const QModelIndex &index, bool suggestionsOnItems);
    void openForm(MediaWidget::Kind kind, const QString &first, const QString &second,
        void (AdmWindow::*onDone)());
    void openItemForm(
        const MediaTab &tab, int wantedLevel, MediaWidget::Kind kind, void (AdmWindow::*onDone)());
    // The folder of a letter, digit or category of a language.
    using ParentFolder = QString (*)(const QString &language, const QString &name);
    void deleteItem(const MediaTab &tab, ParentFolder parentFolder, const QString &title,
        const QString &question, const QString &infoTitle, const QString &info);
    // Removes a folder and reports every folder left behind; false when the
    // folder was refused.
    bool removeFolder(const QString &path);
    void refreshAt(bool parent);

    QString m_language;
    bool m_selected = false;
    QFileSystemModel *m_model = nullptr;
    DataStore m_store;
    const ActivityCatalogue *m_catalogue = nullptr;
    std::unique_ptr<ActivityCatalogue> m_ownCatalogue;

    QTabWidget *m_tabs = nullptr;
    QComboBox *m_selectLanguage = nullptr;
    QComboBox *m_deleteLanguage = nullptr;
    QLineEdit *m_newLanguage = nullptr;
    QPushButton *m_select = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_delete = nullptr;
    MediaTab m_letters;
    MediaTab m_numbers;
    MediaTab m_texts;
};
