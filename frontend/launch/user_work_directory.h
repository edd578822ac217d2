#pragma once
// The working directory of an installed skyloom. Both programs keep their
// files in the working directory and write some of them (orvex.col,
// orvex.env, skyloom.env), but an installation is read-only; so each user
// gets a writable folder of their own, prepared from the installed files on
// the first start, with the demo terrain beside it.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace skyloom {

// The parts of an installation that a user's working directory is made of.
struct Installation {
    QString sharedFiles;   // share/skyloom: summit lists, coastline, readme, default colours
    QString viewer;        // bin/orvex
    QString demoGenerator; // libexec/skyloom/make-demo-data
};

// The installation around a skyloom whose program lies in programDir, given
// the paths of the shared files' folder and of the demo generator relative
// to it. Nothing where that folder is absent: a skyloom in a build tree or
// in a working directory laid out by hand is not installed.
std::optional<Installation> findInstallation(const QString& programDir, const QString& sharedFilesFromProgram,
                                             const QString& demoGeneratorFromProgram);

// The per-user working directory: skyloom/work in the user's data folder
// ($XDG_DATA_HOME, by default ~/.local/share).
QString userWorkDirectory();

// Called while the slow part of the preparation runs, the demo terrain's
// generation (some seconds): once as it starts, then about ten times a
// second until it ends, so that a notice can be shown and kept painted.
// Never called when nothing slow is to be done.
using PreparationProgress = std::function<void()>;

// What the notice says while the working directory is prepared.
QString preparationNoticeText();

// Fills work from the installation, never replacing a file that is there:
// every shared file is copied in (writable, since orvex.col is rewritten),
// orvex is linked to the installed one (so an upgrade reaches it), and,
// while no GSI50M folder lies beside work, the demo terrain is generated
// there. The demo appears whole or not at all. Returns what went wrong,
// one line each; empty when all is ready.
QStringList prepareUserWorkDirectory(const Installation& installation, const QString& work,
                                     const PreparationProgress& progress = {});

// Prepares work and makes it the current directory. Problems go to
// standard error; the result says whether work became current.
bool enterUserWorkDirectory(const Installation& installation, const QString& work,
                            const PreparationProgress& progress = {});

} // namespace skyloom
