#include "platform/zipfile.h"

#include "platform/db.h"
#include "platform/leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <zip.h>

#include <cerrno>
#include <type_traits>
#include <utility>

namespace zav::platform {

namespace {

// libzip, opened at the first zip the program reads or writes. Linked into the program it would
// be mapped, with the cryptography library it needs, at every start, for backups made now and then.
struct LibZip
{
    decltype(&::zip_open) zip_open = nullptr;
    decltype(&::zip_close) zip_close = nullptr;
    decltype(&::zip_discard) zip_discard = nullptr;
    decltype(&::zip_source_file) zip_source_file = nullptr;
    decltype(&::zip_source_free) zip_source_free = nullptr;
    decltype(&::zip_file_add) zip_file_add = nullptr;
    decltype(&::zip_set_file_compression) zip_set_file_compression = nullptr;
    decltype(&::zip_set_archive_comment) zip_set_archive_comment = nullptr;
    decltype(&::zip_get_archive_comment) zip_get_archive_comment = nullptr;
    decltype(&::zip_get_num_entries) zip_get_num_entries = nullptr;
    decltype(&::zip_get_name) zip_get_name = nullptr;
    decltype(&::zip_stat_init) zip_stat_init = nullptr;
    decltype(&::zip_stat) zip_stat = nullptr;
    decltype(&::zip_fopen) zip_fopen = nullptr;
    decltype(&::zip_fread) zip_fread = nullptr;
    decltype(&::zip_fclose) zip_fclose = nullptr;
    decltype(&::zip_get_error) zip_get_error = nullptr;
    decltype(&::zip_error_code_zip) zip_error_code_zip = nullptr;
    decltype(&::zip_error_code_system) zip_error_code_system = nullptr;
    QString failure; ///< why libzip is not usable; empty when it is
};

const LibZip &libzip()
{
    static const LibZip api = [] {
        LibZip api;
        QLibrary library(QStringLiteral(ZAV_LIBZIP_SONAME));
        if (!library.load()) {
            api.failure = library.errorString();
            return api;
        }
        const auto resolve = [&](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            if (!function && api.failure.isEmpty())
                api.failure = library.errorString();
        };
        resolve(api.zip_open, "zip_open");
        resolve(api.zip_close, "zip_close");
        resolve(api.zip_discard, "zip_discard");
        resolve(api.zip_source_file, "zip_source_file");
        resolve(api.zip_source_free, "zip_source_free");
        resolve(api.zip_file_add, "zip_file_add");
        resolve(api.zip_set_file_compression, "zip_set_file_compression");
        resolve(api.zip_set_archive_comment, "zip_set_archive_comment");
        resolve(api.zip_get_archive_comment, "zip_get_archive_comment");
        resolve(api.zip_get_num_entries, "zip_get_num_entries");
        resolve(api.zip_get_name, "zip_get_name");
        resolve(api.zip_stat_init, "zip_stat_init");
        resolve(api.zip_stat, "zip_stat");
        resolve(api.zip_fopen, "zip_fopen");
        resolve(api.zip_fread, "zip_fread");
        resolve(api.zip_fclose, "zip_fclose");
        resolve(api.zip_get_error, "zip_get_error");
        resolve(api.zip_error_code_zip, "zip_error_code_zip");
        resolve(api.zip_error_code_system, "zip_error_code_system");
        return api;
    }();
    return api;
}

// libzip's failure said in Italian: its own error, and the system's when it has one.
QString zipErrorText(int zipError, int systemError)
{
    QString text;
    switch (zipError) {
    case ZIP_ER_RENAME:
    case ZIP_ER_REMOVE:
    case ZIP_ER_TMPOPEN:
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE:
        text = QStringLiteral("impossibile scrivere lo zip");
        break;
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        text = QStringLiteral("impossibile leggere il file");
        break;
    case ZIP_ER_NOENT:
        text = QStringLiteral("file non trovato");
        break;
    case ZIP_ER_EXISTS:
        text = QStringLiteral("il file esiste già");
        break;
    case ZIP_ER_MEMORY:
        text = QStringLiteral("memoria insufficiente");
        break;
    case ZIP_ER_NOZIP:
        text = QStringLiteral("il file non è uno zip");
        break;
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_COMPRESSED_DATA:
    case ZIP_ER_ZLIB:
        text = QStringLiteral("lo zip è danneggiato");
        break;
    case ZIP_ER_CHANGED:
        text = QStringLiteral("il file è cambiato mentre veniva compresso");
        break;
    case ZIP_ER_RDONLY:
        text = QStringLiteral("lo zip è di sola lettura");
        break;
    case ZIP_ER_INUSE:
        text = QStringLiteral("il file è in uso");
        break;
    default:
        text = QStringLiteral("errore della compressione n. %1").arg(zipError);
        break;
    }
    if (systemError != 0 && zipError != ZIP_ER_ZLIB)
        text += QStringLiteral(" (%1)").arg(systemFailureText(systemError));
    return text;
}

// Whether libzip's failure came from a disk with no room left (its system error is an errno value
// unless the failure is zlib's).
bool isDiskFull(::zip *handle)
{
    const LibZip &z = libzip();
    zip_error_t *error = z.zip_get_error(handle);
    const int systemError = z.zip_error_code_system(error);
    return z.zip_error_code_zip(error) != ZIP_ER_ZLIB && (systemError == ENOSPC || systemError == EDQUOT);
}

QString openErrorText(int code)
{
    return zipErrorText(code, 0);
}

QString lastErrorText(::zip *handle)
{
    const LibZip &z = libzip();
    zip_error_t *error = z.zip_get_error(handle);
    return zipErrorText(z.zip_error_code_zip(error), z.zip_error_code_system(error));
}

::zip *openHandle(const QString &path, int flags)
{
    const LibZip &z = libzip();
    if (!z.failure.isEmpty())
        throw ZipError(QStringLiteral("%1: libzip non disponibile (%2)").arg(path, z.failure));
    int code = 0;
    ::zip *handle = z.zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!handle)
        throw ZipError(QStringLiteral("%1: %2").arg(path, openErrorText(code)));
    return handle;
}

} // namespace

ZipError::ZipError(const QString &message, bool diskFull)
    : std::runtime_error(message.toStdString())
    , m_diskFull(diskFull)
{
}

ZipFile::ZipFile(::zip *handle, const QString &path)
    : m_zip(handle)
    , m_path(path)
{
}

ZipFile ZipFile::create(const QString &path)
{
    // libzip writes a zip into "NAME.zip.XXXXXX" beside it and renames it when whole; a write stopped
    // half way (the program killed) leaves that file behind. Ours are removed before the next write.
    removeLeftovers(path, QStringLiteral("\\.[A-Za-z0-9]{6}"));
    return ZipFile(openHandle(path, ZIP_CREATE | ZIP_TRUNCATE), path);
}

ZipFile ZipFile::openForReading(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw ZipError(QStringLiteral("%1: file non trovato").arg(path));
    return ZipFile(openHandle(path, ZIP_RDONLY | ZIP_CHECKCONS), path);
}

ZipFile::ZipFile(ZipFile &&other) noexcept
    : m_zip(std::exchange(other.m_zip, nullptr))
    , m_path(std::move(other.m_path))
{
}

ZipFile &ZipFile::operator=(ZipFile &&other) noexcept
{
    if (this != &other) {
        discard();
        m_zip = std::exchange(other.m_zip, nullptr);
        m_path = std::move(other.m_path);
    }
    return *this;
}

ZipFile::~ZipFile()
{
    discard();
}

void ZipFile::discard() noexcept
{
    if (m_zip)
        libzip().zip_discard(std::exchange(m_zip, nullptr));
}

::zip *ZipFile::handle() const
{
    if (!m_zip)
        throw ZipError(QStringLiteral("%1: zip già chiuso").arg(m_path));
    return m_zip;
}

void ZipFile::addFile(const QString &entryName, const QString &sourcePath)
{
    ::zip *z = handle();
    // libzip reads the source only when the zip is written; a missing file is refused now so that
    // the caller learns which file it was.
    if (!QFileInfo(sourcePath).isFile())
        throw ZipError(QStringLiteral("%1: file non trovato").arg(sourcePath));
    zip_source_t *source = libzip().zip_source_file(z, QFile::encodeName(sourcePath).constData(), 0, 0);
    if (!source)
        throw ZipError(QStringLiteral("%1: %2").arg(sourcePath, lastErrorText(z)));
    const zip_int64_t index = libzip().zip_file_add(
        z, entryName.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        libzip().zip_source_free(source);
        throw ZipError(QStringLiteral("%1: %2").arg(entryName, lastErrorText(z)));
    }
    // Level 6, zlib's own default, named here because libzip's default for deflate is the best
    // level, 9, which took three times as long for a few bytes fewer.
    if (libzip().zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_DEFLATE, DeflateLevel) != 0)
        throw ZipError(QStringLiteral("%1: %2").arg(entryName, lastErrorText(z)));
}

void ZipFile::setComment(const QString &comment)
{
    ::zip *z = handle();
    const QByteArray text = comment.toUtf8();
    // The zip's comment holds at most 65535 bytes; libzip refuses a longer one.
    if (text.size() > 0xFFFF)
        throw ZipError(QStringLiteral("%1: commento dello zip troppo lungo").arg(m_path));
    if (libzip().zip_set_archive_comment(
            z, text.isEmpty() ? nullptr : text.constData(), zip_uint16_t(text.size()))
        != 0)
        throw ZipError(QStringLiteral("%1: %2").arg(m_path, lastErrorText(z)));
}

QString ZipFile::comment() const
{
    int length = 0;
    // libzip gives the comment in UTF-8, converting one written in the old DOS code page.
    const char *text = libzip().zip_get_archive_comment(handle(), &length, ZIP_FL_ENC_GUESS);
    return text && length > 0 ? QString::fromUtf8(text, length) : QString();
}

void ZipFile::commit()
{
    ::zip *z = handle();
    if (libzip().zip_close(z) != 0) {
        const QString text = lastErrorText(z);
        const bool diskFull = isDiskFull(z);
        discard();
        throw ZipError(QStringLiteral("%1: %2").arg(m_path, text), diskFull);
    }
    m_zip = nullptr;
}

QStringList ZipFile::entries() const
{
    ::zip *z = handle();
    QStringList names;
    const zip_int64_t count = libzip().zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char *name = libzip().zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            names << QString::fromUtf8(name);
    }
    return names;
}

QByteArray ZipFile::read(const QString &entryName) const
{
    ::zip *z = handle();
    const QByteArray name = entryName.toUtf8();
    zip_stat_t stat;
    libzip().zip_stat_init(&stat);
    if (libzip().zip_stat(z, name.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw ZipError(QStringLiteral("%1: voce non trovata nello zip").arg(entryName));
    zip_file_t *file = libzip().zip_fopen(z, name.constData(), 0);
    if (!file)
        throw ZipError(QStringLiteral("%1: %2").arg(entryName, lastErrorText(z)));
    QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t got = libzip().zip_fread(file, data.data(), stat.size);
    libzip().zip_fclose(file);
    if (got < 0 || zip_uint64_t(got) != stat.size)
        throw ZipError(QStringLiteral("%1: lettura non riuscita").arg(entryName));
    return data;
}

} // namespace zav::platform
