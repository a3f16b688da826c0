#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zav::platform {

/** @brief What looking up the program associated with a document found. */
enum class DocumentLookup {
    Found, ///< a program opens documents of this kind
    OutOfResources, ///< the system ran out of memory or resources
    FileNotFound, ///< the document does not exist
    PathNotFound, ///< the document's folder does not exist
    NotExecutable, ///< the associated program is not a valid program
    NoAssociation, ///< no program is associated with documents of this kind
    Failed, ///< any other failure of the lookup
};

/**
 * @brief Outside programs and documents: finding and starting programs, opening documents with
 * the program the desktop associates with them.
 *
 * Nothing waits for a program started here, and no command line is ever built: the program and
 * each argument travel apart, so paths with blanks arrive whole. The program installs
 * DesktopSystem; tests install a recording SystemRecorder.
 */
class System
{
public:
    virtual ~System() = default;

    /** @brief Full path of an installed program (a name looked up on PATH, or a path); empty when none. */
    virtual QString findProgram(const QString &program) = 0;
    /** @brief Starts a program without waiting for it; true when it started. */
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    /** @brief Whether a program is associated with this document, or why not. */
    virtual DocumentLookup lookUpDocument(const QString &document) = 0;
    /** @brief Run on the event loop when the desktop's opener, once started, ends in failure. */
    using OpenFailed = std::function<void()>;
    /**
     * @brief Opens a document with its associated program, without waiting; true when started.
     *
     * The desktop's opener starts even where it finds no program for the document (or the program
     * it found fails): it says so only when it ends. `failed`, when given, then runs.
     */
    virtual bool openDocument(const QString &document, OpenFailed failed) = 0;
    /** @brief As above, with no one told of a later failure. */
    bool openDocument(const QString &document) { return openDocument(document, {}); }
    /** @brief Opens a web address in the desktop's default browser, without waiting; true when started. */
    virtual bool openAddress(const QString &address) = 0;
};

/** @brief The installed System (DesktopSystem unless a test installed another). */
System &system();
/** @brief Installs a System; nullptr restores the default. The caller keeps ownership. */
void setSystem(System *system);

/**
 * @brief The real one: QStandardPaths to find programs, QProcess::startDetached to start them,
 * the desktop's MIME associations (xdg-mime) to look documents up, xdg-open (watched until it ends)
 * to open them, and QDesktopServices for web addresses and where xdg-open is missing.
 */
class DesktopSystem : public System
{
public:
    QString findProgram(const QString &program) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    DocumentLookup lookUpDocument(const QString &document) override;
    using System::openDocument;
    bool openDocument(const QString &document, OpenFailed failed) override;
    bool openAddress(const QString &address) override;
};

} // namespace zav::platform
