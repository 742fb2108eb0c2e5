// MSZIP blocks through zlib's raw deflate.
#include "x_writer.h"

#include <zlib.h>

#include <stdint.h>

namespace {

const size_t Block = 32768;

void put16(std::string& s, uint32_t v) { s.push_back((char)(v & 0xFF)), s.push_back((char)((v >> 8) & 0xFF)); }

std::string deflate_block(const std::string& data, size_t at, size_t n)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    if (at > 0) {
        const size_t from = at > Block ? at - Block : 0;
        deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(data.data() + from), (uInt)(at - from));
    }
    std::string out(deflateBound(&z, (uLong)n), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + at));
    z.avail_in = (uInt)n;
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = (uInt)out.size();
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

}  // namespace

std::string compress_x(const std::string& plain)
{
    const bool text = plain.compare(8, 3, "txt") == 0;
    std::string out = plain.substr(0, 8) + (text ? "tzip" : "bzip") + plain.substr(12, 4);
    const uint32_t total = (uint32_t)plain.size();
    put16(out, total & 0xFFFF);
    put16(out, total >> 16);
    const std::string body = plain.substr(16);
    for (size_t at = 0; at < body.size(); at += Block) {
        const size_t n = body.size() - at < Block ? body.size() - at : Block;
        const std::string packed = deflate_block(body, at, n);
        put16(out, (uint32_t)n);
        put16(out, (uint32_t)packed.size() + 2);
        out += "CK" + packed;
    }
    return out;
}
