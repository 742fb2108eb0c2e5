// DynamicRow: the parameter tree.
//
// Named nodes under a root. A node is a knot (a section or key: "_CAMERAS_", "SCREEN") or a
// parameter (a value: its name is the value's text); each has its children in order of addition.
// Nodes are addressed by unsigned 32-bit ids. The root is id 0 and is used only as a parent: it
// has no name and is never counted, found, walked to or deleted. Ids of nodes are never 0, and
// every look-up and walk answers 0 when there is no such node. An id stays with its node for the
// node's life and is not given to another node after the node is deleted (until fresh()).
//
// A DynamicRow is a value: a copy takes every node along, with the same ids, and the two trees
// are independent from then on. Pass and return it by value freely.
//
// Files are text, read and written as bytes:
//     # a comment runs from a '#' that starts a token to the end of the line
//     name                          a parameter
//     name { child child ... }      a knot with its children in order
//     "a name with blanks" { }      a quoted name; inside quotes \" is " and \\ is \,
//                                   every other byte stands for itself
// A bare name is a run of bytes other than white space, braces and '"', not starting with '#'.
// Windows paths are bare names as they stand (objects\floor.obj).
//
// The walk, the look-up of a node's name and counts, adding a last child and deleting a
// parameter or an empty knot each cost O(1).
#ifndef ORVEX_FOUNDATION_DYNAMIC_ROW_H
#define ORVEX_FOUNDATION_DYNAMIC_ROW_H

#include "foundation/orvex_string.h"

#include <cstddef>
#include <string>
#include <vector>

class DynamicRow {
public:
    // Limits of what a file may hold; a file beyond any of them does not load.
    static constexpr std::size_t MAX_FILE_BYTES = 64u * 1024u * 1024u;
    static constexpr unsigned int MAX_DEPTH = 256;   // knots nested inside each other
    // A name holds at most Orvex_string::MAX_LENGTH (1023) bytes.

    DynamicRow();  // empty, not loaded

    // Empties the tree: no nodes, not loaded; ids start again from 1.
    void fresh();

    // Appends a knot (knot true) or a parameter (knot false) named name as the last child of
    // parent (0 for the top level). Answers the new node's id, or 0 when parent is no node of
    // this tree or is a parameter (parameters hold no children). A name longer than 1023 bytes
    // is cut to 1023; a null pointer gives the empty name.
    unsigned int AddToId(unsigned int parent, bool knot, const char* name);
    unsigned int AddToId(unsigned int parent, bool knot, const Orvex_string& name);

    // Splits text at every separator and appends each piece, trimmed of blanks (space, tab),
    // in order, as a parameter of parent. An empty text adds nothing; otherwise every piece
    // counts, empty ones included ("1,,3" adds "1", "" and "3"). Answers how many it added
    // (0 also when parent cannot hold children).
    unsigned int AddToIdSeparated(unsigned int parent, const Orvex_string& text, char separator);
    unsigned int AddToIdSeparated(unsigned int parent, const char* text, char separator);

    // The walk: TopId gives the first child of id (0: the first top-level node), NextId the
    // next sibling. Both answer 0 when there is none or id is no node.
    unsigned int TopId(unsigned int id) const;
    unsigned int NextId(unsigned int id) const;

    // A copy of the node's name; the empty string for the root or an id that is no node.
    Orvex_string iLookName(unsigned int id) const;

    // How many of id's children are knots, and how many are parameters (0 for no node).
    int iCountKnots(unsigned int id) const;
    int iCountParams(unsigned int id) const;

    // The node named name anywhere in the tree: the first knot of that name in document order
    // (the order the file lists them); only when no knot has the name, the first parameter of
    // that name. 0 when nothing has it.
    unsigned int iLookId(const Orvex_string& name) const;
    unsigned int iLookId(const char* name) const;

    // The child of parent named name, by the same rule: its first knot child of that name,
    // else its first parameter child of that name, else 0.
    unsigned int iLookInFor(unsigned int parent, const Orvex_string& name) const;
    unsigned int iLookInFor(unsigned int parent, const char* name) const;

    // Removes the node with everything under it. False for the root and for ids that are no node.
    bool DeleteById(unsigned int id);

    // Replaces the whole tree with the file's. On any failure (the file cannot be opened or is
    // not a regular file, is over 64 MiB, holds a NUL byte, an unbalanced brace, a '{' with no
    // name before it, an unterminated quote, a name over 1023 bytes, or knots nested deeper than
    // 256) answers false and leaves the tree empty and not loaded: nothing partial is kept.
    // The path goes through resolve_path (foundation/file_path.h).
    bool iLoadFromFile(const Orvex_string& path);
    bool iLoadFromFile(const char* path);

    // The same from text in memory (what iLoadFromFile does once the file is read).
    bool LoadFromText(const char* data, std::size_t size);

    // Writes the whole tree to a temporary file in the target's folder, then renames it over the
    // target, so a failed or interrupted save leaves the old file whole. False on any failure
    // (the temporary file is removed). The tree is not changed. The path goes through
    // resolve_path.
    bool iSaveToFile(const Orvex_string& path) const;
    bool iSaveToFile(const char* path) const;

    // The file text iSaveToFile writes. Names are quoted only when they must be (empty, starting
    // with '#', holding white space, a brace or a quote); children are indented by four blanks;
    // a knot whose children are all parameters is written on one line: _POSITION_ { 0 10 -50 }.
    // False (and text empty) for a tree with knots nested deeper than MAX_DEPTH, which could not
    // be read back; iSaveToFile then answers false too and leaves the file alone.
    bool SaveToText(std::string& text) const;

    // Read-only properties.
    unsigned int NodeCount() const { return count_; }  // live nodes, the root not counted
    bool IsLoaded() const { return loaded_; }          // true after a successful load only
    bool IsKnot(unsigned int id) const;                // false for parameters and for no node
    unsigned int ParentId(unsigned int id) const;      // 0 for top-level nodes and for no node

private:
    friend class DynamicRowText;  // the file format reads and builds nodes directly

    struct Node {
        std::string name;
        unsigned int parent = 0;
        unsigned int first = 0;
        unsigned int last = 0;
        unsigned int prev = 0;
        unsigned int next = 0;
        unsigned int knots = 0;
        unsigned int params = 0;
        bool knot = false;
        bool alive = false;
    };

    bool exists(unsigned int id) const;
    unsigned int add(unsigned int parent, bool knot, const char* name, std::size_t size);
    unsigned int lookChild(unsigned int parent, const char* name) const;
    unsigned int lookAnywhere(const char* name) const;

    std::vector<Node> nodes_;  // indexed by id; [0] is the root; deleted nodes stay dead
    unsigned int count_ = 0;
    bool loaded_ = false;
};

#endif
