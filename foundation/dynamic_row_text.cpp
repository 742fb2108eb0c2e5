#include "foundation/dynamic_row_text.h"

#include "foundation/file_io.h"

#include <cstring>
#include <vector>

namespace {

bool isSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool endsBareName(unsigned char c) { return isSpace(c) || c == '{' || c == '}' || c == '"'; }

bool needsQuotes(const std::string& name)
{
    if (name.empty() || name[0] == '#' || utf8_bom_length(name.data(), name.size()))
        return true;
    for (unsigned char c : name) {
        if (endsBareName(c))
            return true;
    }
    return false;
}

void appendName(const std::string& name, std::string& out)
{
    if (!needsQuotes(name)) {
        out += name;
        return;
    }
    out += '"';
    for (char c : name) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
}

}  // namespace

bool DynamicRowText::parse(const char* data, std::size_t size, DynamicRow& tree)
{
    // Names end at the NUL of an Orvex_string: a file holding one cannot come back as it was.
    if (std::memchr(data, '\0', size))
        return false;

    std::vector<unsigned int> open;  // the knots whose '{' is not closed yet
    unsigned int lastName = 0;       // the node just read, which a '{' turns into a knot
    std::string name;
    const char* p = data + utf8_bom_length(data, size);
    const char* const end = data + size;
    while (p < end) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (isSpace(c)) {
            ++p;
        } else if (c == '#') {
            const void* lineEnd = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            p = lineEnd ? static_cast<const char*>(lineEnd) + 1 : end;
        } else if (c == '{') {
            if (!lastName || open.size() >= DynamicRow::MAX_DEPTH)
                return false;
            DynamicRow::Node& node = tree.nodes_[lastName];
            DynamicRow::Node& owner = tree.nodes_[node.parent];
            node.knot = true;
            --owner.params;
            ++owner.knots;
            open.push_back(lastName);
            lastName = 0;
            ++p;
        } else if (c == '}') {
            if (open.empty())
                return false;
            open.pop_back();
            lastName = 0;
            ++p;
        } else {
            name.clear();
            if (c == '"') {
                ++p;
                for (;;) {
                    if (p == end)
                        return false;
                    char b = *p++;
                    if (b == '"')
                        break;
                    if (b == '\\' && p < end && (*p == '"' || *p == '\\'))
                        b = *p++;
                    name += b;
                }
            } else {
                const char* start = p;
                while (p < end && !endsBareName(static_cast<unsigned char>(*p)))
                    ++p;
                name.assign(start, static_cast<std::size_t>(p - start));
            }
            if (name.size() > Orvex_string::MAX_LENGTH)
                return false;
            const unsigned int parent = open.empty() ? 0 : open.back();
            lastName = tree.add(parent, false, name.data(), name.size());
            if (!lastName)
                return false;
        }
    }
    return open.empty();
}

bool DynamicRowText::write(const DynamicRow& tree, std::string& out)
{
    struct Level {
        unsigned int id;  // the knot being written
        unsigned int child;  // its next child to write
    };
    const std::vector<DynamicRow::Node>& nodes = tree.nodes_;
    std::vector<Level> levels;
    levels.push_back({0, nodes[0].first});
    while (!levels.empty()) {
        Level& level = levels.back();
        if (!level.child) {
            levels.pop_back();
            if (!levels.empty()) {
                out.append(4 * (levels.size() - 1), ' ');
                out += "}\n";
            }
            continue;
        }
        const unsigned int id = level.child;
        level.child = nodes[id].next;
        const DynamicRow::Node& node = nodes[id];
        out.append(4 * (levels.size() - 1), ' ');
        appendName(node.name, out);
        if (!node.knot) {
            out += '\n';
            continue;
        }
        if (levels.size() > DynamicRow::MAX_DEPTH)
            return false;
        if (node.knots == 0) {
            out += " {";
            for (unsigned int c = node.first; c; c = nodes[c].next) {
                out += ' ';
                appendName(nodes[c].name, out);
            }
            out += " }\n";
            continue;
        }
        out += " {\n";
        levels.push_back({id, node.first});
    }
    return true;
}
