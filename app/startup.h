// The life cycle of the main program: the start-up procedure before any window exists, the work
// the main window does when it is loaded (placement, folders, start-up questions, the TWAIN
// device check, the first refresh) and when it is closed (confirmation, the device name, the
// settings, the help window, the image handles). It also takes the folders dropped on the window.
#pragma once

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>

class AcquisitionLibrary;
class GR_WIN;
class HelpWindow;
class ORVA_WIN;
class Program;
class QDropEvent;

class Startup : public QObject {
    Q_OBJECT
public:
    Startup(Program& program, AcquisitionLibrary& library);
    ~Startup() override;

    // Shows the start screen, fixes the program values and the program folder, and loads the
    // settings. false (after telling the user) when not even the defaults file can be read.
    bool begin(const QString& programDir, const QDate& today);

    // The main window's load handler: runs once, after the window was built and before it is
    // shown; commandLine is the folder named at start (may be "").
    void load(ORVA_WIN& window, const QString& commandLine);

    // The main window's unload handler; false when the user keeps the program running.
    bool unload();

    // A name dropped on the main window (the last of several): a folder becomes the display
    // folder; anything else is reported and changes nothing.
    void dropName(const QString& name);

    // Whether the start-up counted as started with a folder (a command line naming a folder).
    bool startedWithFolder() const { return startedWithFolder_; }
    GR_WIN* startScreen() const;
    // The help window of the main window, made on first use.
    HelpWindow& helpWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeWindow();
    void chooseDisplayFolder(const QString& commandLine);
    void setFileTray();
    void askDrawPictures();
    void setPictures();
    void checkTwainDevice();
    void firstRefresh();
    void refreshView();
    void recordTwainDevice();
    void saveSettings();
    void releaseImages();
    void dropped(QDropEvent* event);

    Program& program_;
    AcquisitionLibrary& library_;
    ORVA_WIN* window_ = nullptr;
    QPointer<GR_WIN> startScreen_;
    QPointer<HelpWindow> help_;
    bool startedWithFolder_ = false;
    bool hooked_ = false;
    bool hookBusy_ = false;
};
