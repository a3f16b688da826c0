#include "platform/zipfile.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <utility>

namespace zav::platform {

namespace {

QString openErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QString lastErrorText(::zip *handle)
{
    return QString::fromUtf8(zip_strerror(handle));
}

::zip *openHandle(const QString &path, int flags)
{
    int code = 0;
    ::zip *handle = zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!handle)
        throw ZipError(QStringLiteral("%1: %2").arg(path, openErrorText(code)));
    return handle;
}

} // namespace

ZipError::ZipError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

ZipFile::ZipFile(::zip *handle, const QString &path)
    : m_zip(handle)
    , m_path(path)
{
}

ZipFile ZipFile::create(const QString &path)
{
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
        zip_discard(std::exchange(m_zip, nullptr));
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
    zip_source_t *source = zip_source_file(z, QFile::encodeName(sourcePath).constData(), 0, 0);
    if (!source)
        throw ZipError(QStringLiteral("%1: %2").arg(sourcePath, lastErrorText(z)));
    const zip_int64_t index
        = zip_file_add(z, entryName.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        throw ZipError(QStringLiteral("%1: %2").arg(entryName, lastErrorText(z)));
    }
    zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_DEFLATE, 9);
}

void ZipFile::commit()
{
    ::zip *z = handle();
    if (zip_close(z) != 0) {
        const QString text = lastErrorText(z);
        discard();
        throw ZipError(QStringLiteral("%1: %2").arg(m_path, text));
    }
    m_zip = nullptr;
}

QStringList ZipFile::entries() const
{
    ::zip *z = handle();
    QStringList names;
    const zip_int64_t count = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char *name = zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            names << QString::fromUtf8(name);
    }
    return names;
}

QByteArray ZipFile::read(const QString &entryName) const
{
    ::zip *z = handle();
    const QByteArray name = entryName.toUtf8();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(z, name.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw ZipError(QStringLiteral("%1: voce non trovata nello zip").arg(entryName));
    zip_file_t *file = zip_fopen(z, name.constData(), 0);
    if (!file)
        throw ZipError(QStringLiteral("%1: %2").arg(entryName, lastErrorText(z)));
    QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, data.data(), stat.size);
    zip_fclose(file);
    if (got < 0 || zip_uint64_t(got) != stat.size)
        throw ZipError(QStringLiteral("%1: lettura non riuscita").arg(entryName));
    return data;
}

} // namespace zav::platform
