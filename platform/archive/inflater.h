#pragma once

// Raw deflate decoding and CRC-32 for the members our own readers handle (multidisk archives, repair).

#include <QtGlobal>
#include <cstdint>
#include <memory>

namespace tv::archive {

class RawInflater
{
public:
    enum Status { More, End, Error };

    RawInflater();
    ~RawInflater();
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    void reset();
    // Decodes from in into out; used and made tell how much of each was taken. End once the stream ended.
    Status run(const char* in, qint64 inLength, qint64* used, char* out, qint64 outLength, qint64* made);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

uint32_t crc32Update(uint32_t crc, const char* data, qint64 length);

} // namespace tv::archive
