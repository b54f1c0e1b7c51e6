#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where the program reads its media and keeps its data; decided once, at
// start-up, from the executable's folder and the environment:
//
// - A stage folder (`make run`, any folder holding the executable with its
//   own "media/"), and any folder without an installed tree beside it: media
//   beside the executable, "data/", the logs and the synthesizer's scratch
//   file in the working directory, as the program has always done.
// - An installation: no "media/" beside the executable, but a shared tree
//   at <executable's folder>/../share/purimba (found relative to the
//   executable, so an unpacked package works from any folder). That tree
//   is only read. Learners, scores, suggestions, logs and the scratch file
//   go into the data folder: $PURIMBA_DATA_DIR when set (a classroom's shared
//   network folder), else $XDG_DATA_HOME/purimba, else
//   ~/.local/share/purimba. Once the administrator has copied the media into
//   the data folder, both modes use that copy.
class Installation
{
public:
    enum class Layout { Stage, Installed };

    // The stage layout: every path as the program has always formed it.
    Installation() = default;

    static Installation detect(const QString &applicationDir, const QProcessEnvironment &env);
    // The running executable's folder, before the application object exists
    // (the logs are opened first): /proc/self/exe, else argv[0].
    static QString executableDir(const char *argv0);

    Layout layout() const { return m_layout; }
    bool isInstalled() const { return m_layout == Layout::Installed; }
    // The folder that holds "media/": the executable's folder on a stage,
    // the data folder's copy or the shared tree when installed.
    QString mediaRoot() const;
    // The installed tree, read only: <executable's folder>/../share/purimba.
    QString sharedRoot() const { return m_sharedRoot; }
    // Empty on a stage (the working directory), else an absolute path.
    QString dataFolder() const { return m_dataFolder; }
    bool hasMediaCopy() const;

    // Makes the data folder and its "data/" when missing; false when it
    // cannot. Nothing to make on a stage.
    bool makeDataFolder() const;
    // Copies the shared media tree into the data folder. The copy is made
    // under a temporary name and renamed when whole, so a copy cut short is
    // never taken for the media; a suggestions file kept in the data folder
    // moves into the copy. False, with the reason, when it failed.
    bool copyMediaToDataFolder(QString *error) const;
    // The activity suggestions while the data folder holds no media copy.
    QString looseSuggestionsFile() const;

private:
    Layout m_layout = Layout::Stage;
    QString m_applicationDir;
    QString m_sharedRoot;
    QString m_dataFolder;
};
