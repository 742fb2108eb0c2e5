// A small tokenizer for each encoding collects the values of every data object; each object the
// importer reads is then walked with its known layout.
#include "mesh_x_check.h"

#include <zlib.h>

#include <string.h>
#include <vector>

namespace {

const size_t Header = 16;
const size_t Mszip_Block = 32768;
const uint64_t Deflate_Max_Ratio = 1032;
const size_t Inflated_Limit = 256u << 20;

// One value of a data object, in file order (nested objects are separate).
struct Value {
    enum Kind { Integer, Real, Text } kind;
    int64_t integer;  // for Integer
};

struct Object {
    std::string type;
    std::vector<Value> values;
    size_t children = 0;  // materials given in it (Material objects and references)
};

// Reads an object's values the way the importer will, and refuses counts that the values that
// follow cannot back, or that are negative or larger than the file.
class Layout_Reader {
public:
    Layout_Reader(const Object& o, uint64_t limit, bool binary) : o(o), limit(limit), binary(binary) {}

    bool count(uint64_t* n)
    {
        if (at >= o.values.size() || o.values[at].kind != Value::Integer) return false;
        const int64_t v = o.values[at++].integer;
        if (v < 0 || (uint64_t)v > limit) return false;
        *n = (uint64_t)v;
        return true;
    }
    bool integers(uint64_t n) { return take(n, true); }
    bool reals(uint64_t n) { return take(n, false); }
    bool text()
    {
        if (at >= o.values.size() || o.values[at].kind != Value::Text) return false;
        ++at;
        return true;
    }
    // Faces: n faces, each a count and that many indices below `vertices`.
    bool faces(uint64_t vertices)
    {
        uint64_t n = 0;
        if (!count(&n)) return false;
        for (uint64_t f = 0; f < n; ++f) {
            uint64_t k = 0;
            if (!count(&k) || !indices(k, vertices)) return false;
        }
        return true;
    }
    bool indices(uint64_t n, uint64_t below)
    {
        const size_t first = at;
        if (!integers(n)) return false;
        for (size_t i = first; i < at; ++i)
            if (o.values[i].integer < 0 || (uint64_t)o.values[i].integer >= below) return false;
        return true;
    }

private:
    bool take(uint64_t n, bool want_integers)
    {
        if (n > o.values.size() - at) return false;
        for (uint64_t i = 0; i < n; ++i, ++at) {
            const Value::Kind k = o.values[at].kind;
            if (k == Value::Text) return false;
            // Text files may write a whole number where a float goes; binary ones keep the kinds apart.
            if (want_integers ? k != Value::Integer : (binary && k != Value::Real)) return false;
        }
        return true;
    }

    const Object& o;
    uint64_t limit;
    bool binary;
    size_t at = 0;
};

// `vertices` is the vertex count of the Mesh the object sits in (0 outside a mesh).
bool layout_fits(const Object& o, uint64_t vertices, uint64_t limit, bool binary)
{
    Layout_Reader r(o, limit, binary);
    uint64_t n = 0, m = 0;
    const std::string& t = o.type;
    if (t == "Mesh") return r.count(&n) && r.reals(3 * n) && r.faces(n);
    if (t == "MeshNormals") return r.count(&n) && r.reals(3 * n) && r.faces(n);
    if (t == "MeshTextureCoords") return r.count(&n) && r.reals(2 * n);
    if (t == "MeshVertexColors") {
        if (!r.count(&n)) return false;
        for (uint64_t i = 0; i < n; ++i)
            if (!r.indices(1, vertices) || !r.reals(4)) return false;
        return true;
    }
    if (t == "MeshMaterialList") {
        if (!r.count(&n) || !r.count(&m) || !r.integers(m)) return false;
        // At least the materials it declares, and every face entry naming one of them.
        if (n > o.children) return false;
        for (uint64_t i = 2; i < 2 + m; ++i)
            if (o.values[i].integer < 0 || (uint64_t)o.values[i].integer >= n) return false;
        return true;
    }
    if (t == "MeshFaceWraps") return r.count(&n) && r.integers(2 * n);
    if (t == "VertexDuplicationIndices") return r.count(&n) && r.count(&m) && r.indices(n, vertices);
    if (t == "XSkinMeshHeader") return r.count(&n) && r.count(&n) && r.count(&n);
    if (t == "SkinWeights") return r.text() && r.count(&n) && r.indices(n, vertices) && r.reals(n) && r.reals(16);
    if (t == "AnimationKey") {
        if (!r.integers(1) || !r.count(&n)) return false;
        for (uint64_t i = 0; i < n; ++i)
            if (!r.integers(1) || !r.count(&m) || !r.reals(m)) return false;
        return true;
    }
    return true;
}

// Follows the nesting of data objects and judges each object once it is closed.
class Object_Tracker {
public:
    Object_Tracker(uint64_t limit, bool binary) : limit(limit), binary(binary) {}

    void name(const std::string& n)
    {
        if (pending.empty() && !after_name) pending = n;
        after_name = true;
    }
    void separator() { pending.clear(), after_name = false; }
    void open()
    {
        // Only materials count as children: given in place, or named in braces.
        if (!stack.empty() && (pending == "Material" || pending.empty())) ++stack.back().children;
        stack.push_back({pending, {}, 0});
        separator();
    }
    bool close()
    {
        separator();
        if (stack.empty()) return true;  // the importer refuses an unbalanced file on its own
        uint64_t vertices = 0;
        for (size_t i = stack.size() - 1; i-- > 0;)
            if (stack[i].type == "Mesh") {
                const std::vector<Value>& v = stack[i].values;
                vertices = !v.empty() && v[0].kind == Value::Integer && v[0].integer > 0 ? (uint64_t)v[0].integer : 0;
                break;
            }
        const bool fits = layout_fits(stack.back(), vertices, limit, binary);
        stack.pop_back();
        return fits;
    }
    void value(Value v)
    {
        separator();
        if (!stack.empty()) stack.back().values.push_back(v);
    }
    void other() { separator(); }

private:
    uint64_t limit;
    bool binary;
    std::vector<Object> stack;
    std::string pending;
    bool after_name = false;
};

bool name_char(char c, bool first)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (!first && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
}

bool check_text(const char* p, size_t size, uint64_t limit)
{
    Object_Tracker t(limit, false);
    size_t i = Header;
    while (i < size) {
        const char c = p[i];
        if (c == '#' || (c == '/' && i + 1 < size && p[i + 1] == '/')) {
            while (i < size && p[i] != '\n') ++i;
        } else if (c == '"') {
            ++i;
            while (i < size && p[i] != '"') ++i;
            ++i;
            t.value({Value::Text, 0});
        } else if (name_char(c, true)) {
            size_t j = i;
            while (j < size && name_char(p[j], false)) ++j;
            t.name(std::string(p + i, j - i));
            i = j;
        } else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
            // A whole number is an integer; anything with a point or an exponent is a float.
            const bool negative = c == '-';
            size_t j = i + ((c == '-' || c == '+') ? 1 : 0);
            uint64_t value = 0;
            bool real = false, digits = false;
            while (j < size && ((p[j] >= '0' && p[j] <= '9') || p[j] == '.' || p[j] == 'e' || p[j] == 'E' ||
                                ((p[j] == '-' || p[j] == '+') && (p[j - 1] == 'e' || p[j - 1] == 'E')))) {
                if (p[j] >= '0' && p[j] <= '9') {
                    digits = true;
                    if (!real) value = value > limit ? value : value * 10 + (uint64_t)(p[j] - '0');
                } else {
                    real = true;
                }
                ++j;
            }
            if (!digits) {
                t.other();
                i = j > i ? j : i + 1;
                continue;
            }
            const int64_t whole = (int64_t)(value > limit ? limit + 1 : value);
            t.value(real ? Value{Value::Real, 0} : Value{Value::Integer, negative ? -whole : whole});
            i = j;
        } else if (c == '{') {
            t.open();
            ++i;
        } else if (c == '}') {
            if (!t.close()) return false;
            ++i;
        } else if (c == ';' || c == ',') {
            t.separator();
            ++i;
        } else {
            ++i;
        }
    }
    return true;
}

uint32_t le16(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

bool check_binary(const uint8_t* p, size_t size, uint64_t limit, size_t float_bytes)
{
    Object_Tracker t(limit, true);
    size_t i = Header;
    while (i + 2 <= size) {
        const uint32_t token = le16(p + i);
        i += 2;
        switch (token) {
        case 1: case 2: {  // name, string
            if (i + 4 > size) return false;
            const uint64_t n = le32(p + i);
            if (n > size - i - 4) return false;
            if (token == 1) t.name(std::string(reinterpret_cast<const char*>(p + i + 4), (size_t)n));
            else t.value({Value::Text, 0});
            i += 4 + (size_t)n;
            break;
        }
        case 3:  // integer
            if (i + 4 > size) return false;
            t.value({Value::Integer, (int64_t)le32(p + i)});
            i += 4;
            break;
        case 5:  // GUID
            i += 16;
            t.other();
            break;
        case 6: case 7: {  // integer list, float list
            if (i + 4 > size) return false;
            const uint64_t n = le32(p + i);
            const size_t each = token == 6 ? 4 : float_bytes;
            if (n > (size - i - 4) / each) return false;
            i += 4;
            for (uint64_t k = 0; k < n; ++k, i += each)
                t.value(token == 6 ? Value{Value::Integer, (int64_t)le32(p + i)} : Value{Value::Real, 0});
            break;
        }
        case 10: t.open(); break;
        case 11: if (!t.close()) return false; break;
        case 19: case 20: t.separator(); break;
        default:
            // Brackets, the template keyword and the type names; nothing else is a token.
            if (!((token >= 12 && token <= 18) || token == 31 || (token >= 40 && token <= 53))) return false;
            t.other();
        }
    }
    return true;
}

// MSZIP: after the header, the whole file's size, then blocks of [uncompressed size, compressed
// size + 2, "CK", raw deflate data using the output so far as its dictionary].
bool inflate_mszip(const uint8_t* p, size_t size, std::string* out)
{
    if (size < Header + 4) return false;
    size_t i = Header + 4;
    std::string body;
    while (i < size) {
        if (i + 6 > size) return false;
        const size_t plain_size = le16(p + i), packed_size = le16(p + i + 2);
        if (packed_size < 2 || i + 4 + packed_size > size || memcmp(p + i + 4, "CK", 2) != 0) return false;
        if (plain_size == 0 || plain_size > Mszip_Block || plain_size > (packed_size - 2) * Deflate_Max_Ratio + 64)
            return false;
        if (body.size() + plain_size > Inflated_Limit) return false;
        z_stream z{};
        if (inflateInit2(&z, -15) != Z_OK) return false;
        const size_t from = body.size() > Mszip_Block ? body.size() - Mszip_Block : 0;
        if (!body.empty())
            inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(body.data() + from), (uInt)(body.size() - from));
        const size_t at = body.size();
        body.resize(at + plain_size);
        z.next_in = const_cast<Bytef*>(p + i + 6);
        z.avail_in = (uInt)(packed_size - 2);
        z.next_out = reinterpret_cast<Bytef*>(&body[at]);
        z.avail_out = (uInt)plain_size;
        const int result = inflate(&z, Z_FINISH);
        const bool whole = (result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR) && z.avail_out == 0;
        inflateEnd(&z);
        if (!whole) return false;
        i += 4 + packed_size;
    }
    *out = body;
    return !body.empty();
}

}  // namespace

bool check_x_file(const uint8_t* data, size_t size, std::string* plain)
{
    plain->clear();
    if (size < Header || memcmp(data, "xof ", 4) != 0) return false;
    const std::string format(reinterpret_cast<const char*>(data + 8), 4);
    const size_t float_bytes = memcmp(data + 12, "0064", 4) == 0 ? 8 : 4;
    if (format == "tzip" || format == "bzip") {
        std::string body;
        if (!inflate_mszip(data, size, &body)) return false;
        std::string header(reinterpret_cast<const char*>(data), Header);
        header.replace(8, 4, format == "tzip" ? "txt " : "bin ");
        *plain = header + body;
        const uint8_t* p = reinterpret_cast<const uint8_t*>(plain->data());
        return format == "tzip" ? check_text(plain->data(), plain->size(), plain->size())
                                : check_binary(p, plain->size(), plain->size(), float_bytes);
    }
    if (format == "txt ") return check_text(reinterpret_cast<const char*>(data), size, size);
    if (format == "bin ") return check_binary(data, size, size, float_bytes);
    return false;
}
