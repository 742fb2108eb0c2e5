#include "foundation/dynamic_row.h"

#include "foundation/dynamic_row_text.h"
#include "foundation/file_io.h"

#include <new>

DynamicRow::DynamicRow() { fresh(); }

void DynamicRow::fresh()
{
    std::vector<Node>(1).swap(nodes_);  // give the memory of a big tree back, not just its nodes
    nodes_[0].knot = true;
    nodes_[0].alive = true;
    count_ = 0;
    loaded_ = false;
}

bool DynamicRow::exists(unsigned int id) const { return id < nodes_.size() && nodes_[id].alive; }

unsigned int DynamicRow::add(unsigned int parent, bool knot, const char* name, std::size_t size)
{
    if (!exists(parent) || !nodes_[parent].knot)
        return 0;
    // Ids are 32-bit and never reused: past the last one nothing more can be added.
    if (nodes_.size() > 0xFFFFFFFFu)
        return 0;
    if (size > Orvex_string::MAX_LENGTH)
        size = Orvex_string::MAX_LENGTH;
    const unsigned int id = static_cast<unsigned int>(nodes_.size());
    nodes_.emplace_back();
    Node& node = nodes_.back();
    node.name.assign(name, size);
    node.knot = knot;
    node.alive = true;
    node.parent = parent;
    Node& owner = nodes_[parent];
    node.prev = owner.last;
    if (owner.last)
        nodes_[owner.last].next = id;
    else
        owner.first = id;
    owner.last = id;
    if (knot)
        ++owner.knots;
    else
        ++owner.params;
    ++count_;
    return id;
}

unsigned int DynamicRow::AddToId(unsigned int parent, bool knot, const char* name)
{
    if (!name)
        name = "";
    std::size_t size = 0;
    while (size < Orvex_string::MAX_LENGTH && name[size] != '\0')
        ++size;
    return add(parent, knot, name, size);
}

unsigned int DynamicRow::AddToId(unsigned int parent, bool knot, const Orvex_string& name)
{
    return add(parent, knot, name.getChars(), name.length());
}

unsigned int DynamicRow::AddToIdSeparated(unsigned int parent, const char* text, char separator)
{
    if (!text || !*text || !exists(parent) || !nodes_[parent].knot)
        return 0;
    unsigned int added = 0;
    const char* piece = text;
    for (;;) {
        const char* end = piece;
        while (*end != '\0' && *end != separator)
            ++end;
        const char* b = piece;
        const char* e = end;
        while (b < e && (*b == ' ' || *b == '\t'))
            ++b;
        while (e > b && (e[-1] == ' ' || e[-1] == '\t'))
            --e;
        if (add(parent, false, b, static_cast<std::size_t>(e - b)))
            ++added;
        if (*end == '\0')
            break;
        piece = end + 1;
    }
    return added;
}

unsigned int DynamicRow::AddToIdSeparated(unsigned int parent, const Orvex_string& text, char separator)
{
    return AddToIdSeparated(parent, text.getChars(), separator);
}

unsigned int DynamicRow::TopId(unsigned int id) const { return exists(id) ? nodes_[id].first : 0; }

unsigned int DynamicRow::NextId(unsigned int id) const
{
    return id != 0 && exists(id) ? nodes_[id].next : 0;
}

Orvex_string DynamicRow::iLookName(unsigned int id) const
{
    Orvex_string name;
    if (id != 0 && exists(id))
        name = nodes_[id].name.c_str();
    return name;
}

int DynamicRow::iCountKnots(unsigned int id) const
{
    return exists(id) ? static_cast<int>(nodes_[id].knots) : 0;
}

int DynamicRow::iCountParams(unsigned int id) const
{
    return exists(id) ? static_cast<int>(nodes_[id].params) : 0;
}

bool DynamicRow::IsKnot(unsigned int id) const { return id != 0 && exists(id) && nodes_[id].knot; }

unsigned int DynamicRow::ParentId(unsigned int id) const
{
    return id != 0 && exists(id) ? nodes_[id].parent : 0;
}

unsigned int DynamicRow::lookChild(unsigned int parent, const char* name) const
{
    if (!exists(parent))
        return 0;
    unsigned int firstParam = 0;
    for (unsigned int id = nodes_[parent].first; id; id = nodes_[id].next) {
        const Node& node = nodes_[id];
        if (node.name != name)
            continue;
        if (node.knot)
            return id;
        if (!firstParam)
            firstParam = id;
    }
    return firstParam;
}

unsigned int DynamicRow::lookAnywhere(const char* name) const
{
    // Depth-first in document order, without recursion: deep trees must not exhaust the stack.
    unsigned int firstParam = 0;
    unsigned int id = nodes_[0].first;
    while (id) {
        const Node& node = nodes_[id];
        if (node.name == name) {
            if (node.knot)
                return id;
            if (!firstParam)
                firstParam = id;
        }
        if (node.first) {
            id = node.first;
            continue;
        }
        while (id && !nodes_[id].next)
            id = nodes_[id].parent;
        if (id)
            id = nodes_[id].next;
    }
    return firstParam;
}

unsigned int DynamicRow::iLookId(const Orvex_string& name) const { return lookAnywhere(name.getChars()); }
unsigned int DynamicRow::iLookId(const char* name) const { return lookAnywhere(name ? name : ""); }

unsigned int DynamicRow::iLookInFor(unsigned int parent, const Orvex_string& name) const
{
    return lookChild(parent, name.getChars());
}

unsigned int DynamicRow::iLookInFor(unsigned int parent, const char* name) const
{
    return lookChild(parent, name ? name : "");
}

bool DynamicRow::DeleteById(unsigned int id)
{
    if (id == 0 || !exists(id))
        return false;
    Node& node = nodes_[id];
    Node& owner = nodes_[node.parent];
    if (node.prev)
        nodes_[node.prev].next = node.next;
    else
        owner.first = node.next;
    if (node.next)
        nodes_[node.next].prev = node.prev;
    else
        owner.last = node.prev;
    if (node.knot)
        --owner.knots;
    else
        --owner.params;

    // Retire the node and its descendants: walk the detached subtree depth-first.
    unsigned int current = id;
    while (current) {
        Node& n = nodes_[current];
        if (n.first) {
            const unsigned int child = n.first;
            n.first = nodes_[child].next;
            nodes_[child].parent = current;
            current = child;
            continue;
        }
        const unsigned int up = current == id ? 0 : n.parent;
        n.alive = false;
        n.next = n.prev = n.last = 0;
        n.knots = n.params = 0;
        std::string().swap(n.name);
        --count_;
        current = up;
    }
    return true;
}

bool DynamicRow::LoadFromText(const char* data, std::size_t size)
{
    DynamicRow loaded;
    bool parsed = false;
    try {
        parsed = data && DynamicRowText::parse(data, size, loaded);
    } catch (const std::bad_alloc&) {
        // A file within the size limit can still hold tens of millions of nodes: running out of
        // memory on one is a failed load, not the end of the program.
        parsed = false;
    }
    if (!parsed) {
        fresh();
        return false;
    }
    *this = std::move(loaded);
    loaded_ = true;
    return true;
}

bool DynamicRow::SaveToText(std::string& text) const
{
    text.clear();
    if (DynamicRowText::write(*this, text))
        return true;
    text.clear();
    return false;
}

bool DynamicRow::iLoadFromFile(const Orvex_string& path) { return iLoadFromFile(path.getChars()); }

bool DynamicRow::iLoadFromFile(const char* path)
{
    std::string data;
    if (!read_whole_file(path, MAX_FILE_BYTES, data)) {
        fresh();
        return false;
    }
    return LoadFromText(data.data(), data.size());
}

bool DynamicRow::iSaveToFile(const Orvex_string& path) const { return iSaveToFile(path.getChars()); }

bool DynamicRow::iSaveToFile(const char* path) const
{
    std::string text;
    return SaveToText(text) && replace_whole_file(path, text);
}
