#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

struct zip;

namespace zav::platform {

/** @brief A zip file that could not be opened, read or written. */
class ZipError : public std::runtime_error
{
public:
    explicit ZipError(const QString &message, bool diskFull = false);
    QString message() const { return QString::fromUtf8(what()); }
    /** @brief Whether the zip could not be written because the disk is full. */
    bool diskFull() const { return m_diskFull; }

private:
    bool m_diskFull;
};

/**
 * @brief One zip file held open, closed when the object goes.
 *
 * A zip created for writing collects its entries and is written only by commit(); dropped without
 * commit() it leaves nothing on disk (an existing file of that name stays as it was). A zip opened
 * for reading lists and reads its entries. Failures throw ZipError, said in Italian.
 */
class ZipFile
{
public:
    /**
     * @brief Starts a new zip at this path; commit() replaces any file of that name. Temporary
     * files that an earlier write of this zip left behind when stopped ("NAME.zip.XXXXXX") are
     * removed first.
     */
    static ZipFile create(const QString &path);
    /** @brief Opens an existing zip for reading. */
    static ZipFile openForReading(const QString &path);

    ZipFile(ZipFile &&other) noexcept;
    ZipFile &operator=(ZipFile &&other) noexcept;
    ZipFile(const ZipFile &) = delete;
    ZipFile &operator=(const ZipFile &) = delete;
    ~ZipFile();

    const QString &path() const { return m_path; }

    /** @brief The deflate level of every entry added. */
    static constexpr int DeflateLevel = 6;

    /** @brief Adds the file at sourcePath under entryName (deflated at DeflateLevel); read when
     * committed. */
    void addFile(const QString &entryName, const QString &sourcePath);
    /** @brief Sets the comment of the whole zip (empty text: none); written by commit(). */
    void setComment(const QString &comment);
    /** @brief Writes the zip with the entries added; the object is closed afterwards. */
    void commit();

    /** @brief Names of the entries, in their order in the zip. */
    QStringList entries() const;
    /** @brief The comment of the whole zip, or empty text when it has none. */
    QString comment() const;
    /** @brief The whole content of an entry. */
    QByteArray read(const QString &entryName) const;

private:
    ZipFile(::zip *handle, const QString &path);
    void discard() noexcept;
    ::zip *handle() const;

    ::zip *m_zip = nullptr;
    QString m_path;
};

} // namespace zav::platform
