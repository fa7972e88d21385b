#include "platform/archive/memberreader.h"

#include "platform/archive/resultcodes.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <zip.h>

namespace tv::archive {

namespace {

class LibzipReader : public MemberReader
{
public:
    explicit LibzipReader(zip_t* archive) : m_archive(archive)
    {
        const zip_int64_t count = zip_get_num_entries(m_archive, 0);
        m_members.reserve(qsizetype(qMax<zip_int64_t>(count, 0)));
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            MemberInfo info;
            if (zip_stat_index(m_archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &st) == 0) {
                info.name = QString::fromUtf8(st.name ? st.name : "");
                info.size = (st.valid & ZIP_STAT_SIZE) ? qint64(st.size) : 0;
                info.packedSize = (st.valid & ZIP_STAT_COMP_SIZE) ? qint64(st.comp_size) : 0;
                if (st.valid & ZIP_STAT_MTIME)
                    info.time = QDateTime::fromSecsSinceEpoch(st.mtime);
                info.method = (st.valid & ZIP_STAT_COMP_METHOD) ? st.comp_method : 0;
                info.encrypted =
                    (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
            }
            zip_uint8_t opsys = 0;
            zip_uint32_t attributes = 0;
            if (zip_file_get_external_attributes(m_archive, zip_uint64_t(i), 0, &opsys, &attributes) == 0) {
                if (opsys == ZIP_OPSYS_UNIX) {
                    info.unixMode = attributes >> 16;
                    info.symbolicLink = (info.unixMode & S_IFMT) == S_IFLNK;
                    info.directory = (info.unixMode & S_IFMT) == S_IFDIR;
                } else if (attributes & 0x10) {
                    info.directory = true;
                }
            }
            if (info.name.endsWith(QLatin1Char('/')))
                info.directory = true;
            info.offset = i;
            m_members.append(info);
        }
    }
    ~LibzipReader() override
    {
        closeMember();
        zip_discard(m_archive);
    }

    bool openMember(int index, ReadFailure* failure) override
    {
        closeMember();
        m_file = zip_fopen_index(m_archive, zip_uint64_t(index), 0);
        if (!m_file) {
            failure->skipReason = skipReasonForLibzipError(zip_error_code_zip(zip_get_error(m_archive)));
            zip_error_clear(m_archive);
            return false;
        }
        return true;
    }

    qint64 read(char* data, qint64 max, ReadFailure* failure) override
    {
        if (!m_file) {
            failure->skipReason = SkipCannotOpen;
            return -1;
        }
        const zip_int64_t n = zip_fread(m_file, data, zip_uint64_t(max));
        if (n < 0) {
            failure->skipReason = skipReasonForLibzipError(zip_error_code_zip(zip_file_get_error(m_file)));
            return -1;
        }
        return n;
    }

    void closeMember() override
    {
        if (m_file)
            zip_fclose(m_file);
        m_file = nullptr;
    }

private:
    zip_t* m_archive;
    zip_file_t* m_file = nullptr;
};

} // namespace

int resultForOpenError(int zipError)
{
    return resultForLibzipError(zipError, zipError == ZIP_ER_OPEN || zipError == ZIP_ER_READ ? errno : 0);
}

std::unique_ptr<MemberReader> openLibzipReader(const QString& path, int* result)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        *result = resultForOpenError(error);
        return nullptr;
    }
    *result = Success;
    return std::make_unique<LibzipReader>(archive);
}

} // namespace tv::archive
