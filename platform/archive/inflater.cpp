#include "platform/archive/inflater.h"

#include <climits>
#include <zlib.h>

namespace tv::archive {

struct RawInflater::State
{
    z_stream stream{};
    bool ready = false;
};

RawInflater::RawInflater() : m_state(std::make_unique<State>())
{
    m_state->ready = inflateInit2(&m_state->stream, -MAX_WBITS) == Z_OK;
}

RawInflater::~RawInflater()
{
    if (m_state->ready)
        inflateEnd(&m_state->stream);
}

void RawInflater::reset()
{
    if (m_state->ready)
        inflateReset(&m_state->stream);
}

RawInflater::Status RawInflater::run(const char* in, qint64 inLength, qint64* used, char* out,
                                     qint64 outLength, qint64* made)
{
    *used = 0;
    *made = 0;
    if (!m_state->ready)
        return Error;
    z_stream& s = m_state->stream;
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    s.avail_in = uInt(qMin<qint64>(inLength, UINT_MAX));
    s.next_out = reinterpret_cast<Bytef*>(out);
    s.avail_out = uInt(qMin<qint64>(outLength, UINT_MAX));
    const uInt inBefore = s.avail_in;
    const uInt outBefore = s.avail_out;
    const int rc = inflate(&s, Z_NO_FLUSH);
    *used = inBefore - s.avail_in;
    *made = outBefore - s.avail_out;
    if (rc == Z_STREAM_END)
        return End;
    if (rc == Z_OK || (rc == Z_BUF_ERROR && (*used > 0 || *made > 0)))
        return More;
    if (rc == Z_BUF_ERROR)
        return More; // needs more input or more room; the caller decides whether any is left
    return Error;
}

uint32_t crc32Update(uint32_t crc, const char* data, qint64 length)
{
    while (length > 0) {
        const uInt chunk = uInt(qMin<qint64>(length, 1 << 30));
        crc = uint32_t(crc32(crc, reinterpret_cast<const Bytef*>(data), chunk));
        data += chunk;
        length -= chunk;
    }
    return crc;
}

} // namespace tv::archive
