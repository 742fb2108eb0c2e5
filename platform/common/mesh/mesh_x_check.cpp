// A small tokenizer for each encoding collects the values of every data object; each object the
// importer reads is then walked with its known layout.
#include "common/mesh/mesh_x_check.h"

#include <zlib.h>

#include <algorithm>
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

enum class Layout {
    None, Mesh, Normals, Coords, Colours, Materials, Wraps, Duplicates, Skin_Header, Skin_Weights, Key,
    Material, Transform, Ticks
};

Layout layout_of(const std::string& type, bool binary)
{
    // In a binary file the importer reads these by their layout too, and the rest of a value list
    // it stops in as tokens.
    if (binary && type == "Material") return Layout::Material;
    if (binary && type == "FrameTransformMatrix") return Layout::Transform;
    if (binary && type == "AnimTicksPerSecond") return Layout::Ticks;
    static const struct {
        const char* name;
        Layout layout;
    } known[] = {{"Mesh", Layout::Mesh}, {"MeshNormals", Layout::Normals}, {"MeshTextureCoords", Layout::Coords},
                 {"MeshVertexColors", Layout::Colours}, {"MeshMaterialList", Layout::Materials},
                 {"MeshFaceWraps", Layout::Wraps}, {"VertexDuplicationIndices", Layout::Duplicates},
                 {"XSkinMeshHeader", Layout::Skin_Header}, {"SkinWeights", Layout::Skin_Weights},
                 {"AnimationKey", Layout::Key}};
    for (const auto& k : known)
        if (type == k.name) return k.layout;
    return Layout::None;
}

// Walks an object's values, as they arrive, along its layout: counts must be whole,
// non-negative and no larger than the file, and the object must go on to hold what they
// announce, of the right kinds (a binary file keeps integers and floats in separate lists and
// the importer reads them as such); indices must fall below what they index.
class Layout_Walker {
public:
    Layout_Walker(Layout layout, uint64_t limit, bool binary, uint64_t mesh_vertices)
        : layout(layout), limit(limit), binary(binary), mesh_vertices(mesh_vertices)
    {
        plan(0);
    }

    bool feed(const Value& v)
    {
        if (need == Need::Done) return true;  // the importer ignores what follows
        switch (need) {
        case Need::Count:
            if (v.kind != Value::Integer || v.integer < 0 || (uint64_t)v.integer > limit) return false;
            return plan((uint64_t)v.integer);
        case Need::Text:
            if (v.kind != Value::Text) return false;
            return plan(0);
        case Need::Reals:
            if (v.kind == Value::Text || (binary && v.kind != Value::Real)) return false;
            break;
        case Need::Integers:
            if (v.kind != Value::Integer) return false;
            break;
        case Need::Indices:
            if (v.kind != Value::Integer || v.integer < 0 || (uint64_t)v.integer >= below) return false;
            break;
        case Need::Done:
            break;
        }
        return --left > 0 || plan(0);
    }
    // All values announced were there.
    bool complete() const { return need == Need::Done; }
    uint64_t vertices() const { return first; }
    uint64_t materials() const { return first; }

private:
    enum class Need { Count, Text, Reals, Integers, Indices, Done };

    void ask(Need n, uint64_t count = 1, uint64_t indices_below = 0)
    {
        need = n, left = count, below = indices_below;
    }

    // Moves to the next step of the layout; `value` is the count just read (if any).
    bool plan(uint64_t value)
    {
        const int s = step++;
        switch (layout) {
        case Layout::None:
            ask(Need::Done);
            return true;
        case Layout::Mesh:
        case Layout::Normals:
            // n; 3n floats; faces; each face: k; k indices below n.
            if (s == 0) return ask(Need::Count), true;
            if (s == 1) return first = value, value ? (ask(Need::Reals, 3 * value), true) : plan(0);
            if (s == 2) return ask(Need::Count), true;
            if (s == 3) faces_left = value;
            if (faces_left == 0) return ask(Need::Done), true;
            if (s % 2 == 1) return ask(Need::Count), true;
            --faces_left;
            return value ? (ask(Need::Indices, value, first), true) : plan(0);
        case Layout::Coords:
            if (s == 0) return ask(Need::Count), true;
            if (s == 1 && value) return ask(Need::Reals, 2 * value), true;
            return ask(Need::Done), true;
        case Layout::Colours:
            // n; n times: a vertex index, four floats.
            if (s == 0) return ask(Need::Count), true;
            if (s == 1) faces_left = value;
            if (faces_left == 0) return ask(Need::Done), true;
            if (s % 2 == 1) return ask(Need::Indices, 1, mesh_vertices), true;
            --faces_left;
            return ask(Need::Reals, 4), true;
        case Layout::Materials:
            // n materials; m face entries, each below n.
            if (s == 0) return ask(Need::Count), true;
            if (s == 1) return first = value, ask(Need::Count), true;
            if (s == 2 && value) return ask(Need::Indices, value, first), true;
            return ask(Need::Done), true;
        case Layout::Wraps:
            if (s == 0) return ask(Need::Count), true;
            if (s == 1 && value) return ask(Need::Integers, 2 * value), true;
            return ask(Need::Done), true;
        case Layout::Duplicates:
            if (s == 0) return ask(Need::Count), true;
            if (s == 1) return first = value, ask(Need::Count), true;
            if (s == 2 && first) return ask(Need::Indices, first, mesh_vertices), true;
            return ask(Need::Done), true;
        case Layout::Skin_Header:
            if (s < 3) return ask(Need::Count), true;
            return ask(Need::Done), true;
        case Layout::Skin_Weights:
            // a frame name; n; n vertex indices; n weights; a 4 x 4 matrix.
            if (s == 0) return ask(Need::Text), true;
            if (s == 1) return ask(Need::Count), true;
            if (s == 2) return first = value, value ? (ask(Need::Indices, value, mesh_vertices), true) : plan(0);
            if (s == 3) return first ? (ask(Need::Reals, first), true) : plan(0);
            if (s == 4) return ask(Need::Reals, 16), true;
            return ask(Need::Done), true;
        case Layout::Material:
        case Layout::Transform:
            // a colour, a power and two colours; a 4 x 4 matrix.
            if (s == 0) return ask(Need::Reals, layout == Layout::Material ? 11 : 16), true;
            return ask(Need::Done), true;
        case Layout::Ticks:
            if (s == 0) return ask(Need::Integers, 1), true;
            return ask(Need::Done), true;
        case Layout::Key:
            // a key type; n keys, each: a time, m, m floats.
            if (s == 0) return ask(Need::Integers, 1), true;
            if (s == 1) return ask(Need::Count), true;
            if (s == 2) faces_left = value;
            if (faces_left == 0) return ask(Need::Done), true;
            switch ((s - 2) % 3) {
            case 0: return ask(Need::Integers, 1), true;
            case 1: return ask(Need::Count), true;
            default: --faces_left; return value ? (ask(Need::Reals, value), true) : plan(0);
            }
        }
        return false;
    }

    Layout layout;
    uint64_t limit;
    bool binary;
    uint64_t mesh_vertices;
    Need need = Need::Done;
    uint64_t left = 0, below = 0;
    uint64_t first = 0;        // the first count: vertices of a mesh, materials of a list
    uint64_t faces_left = 0;   // repeated records still to come
    int step = 0;
};

// Follows the nesting of data objects and hands each value to the object it stands in.
class Object_Tracker {
public:
    Object_Tracker(uint64_t limit, bool binary) : limit(limit), binary(binary) {}

    void name(const std::string& n)
    {
        if (pending.empty() && !after_name) pending = n;
        after_name = true;
    }
    void separator() { pending.clear(), after_name = false; }
    // A template ends at its first closing brace for the importer, so nothing may nest in one.
    bool open()
    {
        if (!stack.empty() && stack.back().template_body) return false;
        // Only materials count as children of a material list: given in place, or named in braces.
        if (!stack.empty() && (pending == "Material" || (pending.empty() && !after_name)))
            ++stack.back().materials_given;
        uint64_t vertices = 0;
        for (size_t i = stack.size(); i-- > 0;)
            if (stack[i].layout == Layout::Mesh) {
                vertices = stack[i].walker.vertices();
                break;
            }
        const Layout layout = layout_of(pending, binary);
        stack.push_back({Layout_Walker(layout, limit, binary, vertices), 0, pending == "template", layout});
        separator();
        return true;
    }
    bool close()
    {
        separator();
        if (stack.empty()) return true;  // the importer refuses an unbalanced file on its own
        const Entry e = stack.back();
        stack.pop_back();
        if (!e.walker.complete()) return false;
        return e.layout != Layout::Materials || e.walker.materials() <= e.materials_given;
    }
    // more_in_list: a binary value list goes on after this value.
    bool value(const Value& v, bool more_in_list = false)
    {
        if (stack.empty()) return other(), true;
        Entry& e = stack.back();
        const bool wanted = !e.walker.complete();
        if (binary && wanted) separator();
        else other();
        if (e.template_body && v.kind == Value::Text) return false;
        if (!e.walker.feed(v)) return false;
        // What the importer reads by a layout ends with its list, or the rest is read as tokens.
        return !(wanted && more_in_list && e.walker.complete() && e.layout != Layout::None);
    }
    // A value no layout wants, or a stray token, before a name makes the name no object type:
    // the importer takes the first token as the type ("0 Material {" is an unknown object).
    void other() { after_name = true; }
    // The innermost object is still reading the values of its layout.
    bool wants_values() const { return !stack.empty() && !stack.back().walker.complete(); }

private:
    struct Entry {
        Layout_Walker walker;
        size_t materials_given;
        bool template_body;
        Layout layout;
    };

    uint64_t limit;
    bool binary;
    std::vector<Entry> stack;
    std::string pending;
    bool after_name = false;
};

bool name_char(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool number_start(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }
// The importer's blanks are isspace's.
bool blank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\v'; }
bool token_end(char c) { return blank(c) || c == ';' || c == ',' || c == '{' || c == '}'; }

bool check_text(const char* p, size_t size, uint64_t limit)
{
    Object_Tracker t(limit, false);
    size_t i = Header;
    while (i < size) {
        const char c = p[i];
        // Blanks and separators first: with digits they are nearly all of a large file.
        if (blank(c)) {
            ++i;
            continue;
        }
        if (c == ';' || c == ',') {
            t.separator();
            ++i;
            continue;
        }
        if (c == '#' || (c == '/' && i + 1 < size && p[i + 1] == '/')) {
            while (i < size && p[i] != '\n') ++i;
        } else if (c == '"') {
            // Where the importer skips an object it counts braces, and sees comments, in strings too.
            for (++i; i < size && p[i] != '"'; ++i)
                if (p[i] == '{' || p[i] == '}' || p[i] == '#' || (p[i] == '/' && i + 1 < size && p[i + 1] == '/'))
                    return false;
            ++i;
            if (!t.value({Value::Text, 0})) return false;
        } else if (number_start(c)) {
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
            if (!t.value(real ? Value{Value::Real, 0} : Value{Value::Integer, negative ? -whole : whole})) return false;
            i = j;
        } else if (c == '{') {
            if (!t.open()) return false;
            ++i;
        } else if (c == '}') {
            if (!t.close()) return false;
            ++i;
        } else {
            // The importer's tokens run to a blank, a separator or a brace.
            size_t j = i;
            while (j < size && !token_end(p[j])) ++j;
            if (name_char(c)) t.name(std::string(p + i, j - i));
            else t.other();
            i = j;
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
        // Where the importer wants a value it takes any other token for one.
        if (t.wants_values() && token != 2 && token != 3 && token != 6 && token != 7) return false;
        switch (token) {
        case 1: case 2: {  // name, string (the importer takes the two bytes after a string for its terminator)
            const size_t tail = token == 2 ? 2 : 0;
            if (i + 4 > size) return false;
            const uint64_t n = le32(p + i);
            if (n + tail > size - i - 4) return false;
            if (token == 1) t.name(std::string(reinterpret_cast<const char*>(p + i + 4), (size_t)n));
            else if (!t.value({Value::Text, 0})) return false;
            i += 4 + (size_t)n + tail;
            break;
        }
        case 3:  // integer
            if (i + 4 > size) return false;
            if (!t.value({Value::Integer, (int64_t)le32(p + i)})) return false;
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
                if (!t.value(token == 6 ? Value{Value::Integer, (int64_t)le32(p + i)} : Value{Value::Real, 0},
                             k + 1 < n))
                    return false;
            break;
        }
        case 10: if (!t.open()) return false; break;
        case 11: if (!t.close()) return false; break;
        case 19: case 20: t.separator(); break;
        case 31: t.separator(), t.name("template"); break;
        default:
            // Brackets, the template keyword and the type names; nothing else is a token.
            if (!((token >= 12 && token <= 18) || token == 31 || (token >= 40 && token <= 53))) return false;
            t.other();
        }
    }
    return true;
}

// MSZIP: after the header, the whole file's size (header included), then blocks of
// [uncompressed size, compressed size + 2, "CK", raw deflate data using the output so far as its
// dictionary]. Appends the inflated body to *out, which holds the header.
bool inflate_mszip(const uint8_t* p, size_t size, std::string* out)
{
    if (size < Header + 4) return false;
    // The size field is only a hint; what it may reserve is bounded by what deflate can give.
    const uint64_t most = std::min<uint64_t>(Inflated_Limit, (uint64_t)size * Deflate_Max_Ratio) + Header;
    out->reserve((size_t)std::min<uint64_t>(le32(p + Header), most));
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return false;
    bool whole = false;
    size_t i = Header + 4;
    while (i < size) {
        whole = false;
        if (i + 6 > size) break;
        const size_t plain_size = le16(p + i), packed_size = le16(p + i + 2);
        const size_t at = out->size(), body = at - Header;
        if (packed_size < 2 || i + 4 + packed_size > size || memcmp(p + i + 4, "CK", 2) != 0) break;
        if (plain_size == 0 || plain_size > Mszip_Block || plain_size > (packed_size - 2) * Deflate_Max_Ratio + 64)
            break;
        if (body + plain_size > Inflated_Limit || inflateReset(&z) != Z_OK) break;
        const size_t window = body > Mszip_Block ? Mszip_Block : body;
        if (window)
            inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(out->data() + at - window), (uInt)window);
        out->resize(at + plain_size);
        z.next_in = const_cast<Bytef*>(p + i + 6);
        z.avail_in = (uInt)(packed_size - 2);
        z.next_out = reinterpret_cast<Bytef*>(&(*out)[at]);
        z.avail_out = (uInt)plain_size;
        const int result = inflate(&z, Z_FINISH);
        if (!((result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR) && z.avail_out == 0)) break;
        whole = true;
        i += 4 + packed_size;
    }
    inflateEnd(&z);
    return whole;
}

}  // namespace

bool check_x_file(const uint8_t* data, size_t size, std::string* plain)
{
    plain->clear();
    if (size < Header || memcmp(data, "xof ", 4) != 0) return false;
    const std::string format(reinterpret_cast<const char*>(data + 8), 4);
    const size_t float_bytes = memcmp(data + 12, "0064", 4) == 0 ? 8 : 4;
    if (format == "tzip" || format == "bzip") {
        plain->assign(reinterpret_cast<const char*>(data), Header);
        plain->replace(8, 4, format == "tzip" ? "txt " : "bin ");
        if (!inflate_mszip(data, size, plain)) return plain->clear(), false;
        const uint8_t* p = reinterpret_cast<const uint8_t*>(plain->data());
        return format == "tzip" ? check_text(plain->data(), plain->size(), plain->size())
                                : check_binary(p, plain->size(), plain->size(), float_bytes);
    }
    if (format == "txt ") return check_text(reinterpret_cast<const char*>(data), size, size);
    if (format == "bin ") return check_binary(data, size, size, float_bytes);
    return false;
}
