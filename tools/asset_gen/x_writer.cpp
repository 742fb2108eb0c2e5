// Both encodings walk the file the same way through one small interface: a text sink prints
// tokens with the .x separators, a binary sink writes the tokens of the binary format.
#include "x_writer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

class X_Sink {
public:
    virtual ~X_Sink() = default;
    virtual void open(const char* type, const std::string& name) = 0;
    virtual void close() = 0;
    virtual void reference(const std::string& name) = 0;
    // A run of integers; text is how the text encoding spells them (separators included).
    virtual void integers(const std::vector<uint32_t>& values, const std::string& text) = 0;
    virtual void floats(const std::vector<float>& values, int group, int record_end) = 0;
    virtual void text(const std::string& s) = 0;
};

class Text_Sink : public X_Sink {
public:
    std::string out = "xof 0303txt 0032\n";
    int depth = 0;

    void indent() { out.append((size_t)depth * 1, ' '); }
    void open(const char* type, const std::string& name) override
    {
        indent();
        out += type;
        if (!name.empty()) out += " " + name;
        out += " {\n";
        ++depth;
    }
    void close() override
    {
        --depth;
        indent();
        out += "}\n";
    }
    void reference(const std::string& name) override
    {
        indent();
        out += "{" + name + "}\n";
    }
    void integers(const std::vector<uint32_t>&, const std::string& text) override
    {
        indent();
        for (char c : text) {
            out += c;
            if (c == '\n') indent();
        }
        out += "\n";
    }
    void floats(const std::vector<float>& values, int group, int record_end) override
    {
        // Groups of `group` floats separated by ';', groups by ',', the last group ending ';;'
        // (record_end 2) or ';' (record_end 1).
        indent();
        char buf[32];
        for (size_t i = 0; i < values.size(); ++i) {
            snprintf(buf, sizeof buf, "%.6f", values[i]);
            out += buf;
            const bool group_end = (i + 1) % group == 0;
            const bool last = i + 1 == values.size();
            if (!group_end) {
                out += group == 16 ? "," : ";";
            } else if (!last) {
                out += group == 1 ? ";" : ";,";
                if (group > 1) out += "\n", indent();
            } else {
                out += record_end == 2 ? ";;" : ";";
            }
        }
        out += "\n";
    }
    void text(const std::string& s) override
    {
        indent();
        out += "\"" + s + "\";\n";
    }
};

enum : uint16_t {
    Token_Name = 1,
    Token_String = 2,
    Token_Integer_List = 6,
    Token_Float_List = 7,
    Token_Obrace = 10,
    Token_Cbrace = 11,
    Token_Semicolon = 20,
};

class Binary_Sink : public X_Sink {
public:
    std::string out = "xof 0303bin 0032";

    void word(uint16_t w) { out.push_back((char)(w & 0xFF)), out.push_back((char)(w >> 8)); }
    void dword(uint32_t d) { word((uint16_t)(d & 0xFFFF)), word((uint16_t)(d >> 16)); }
    void name(const std::string& s)
    {
        word(Token_Name);
        dword((uint32_t)s.size());
        out += s;
    }
    void open(const char* type, const std::string& n) override
    {
        name(type);
        if (!n.empty()) name(n);
        word(Token_Obrace);
    }
    void close() override { word(Token_Cbrace); }
    void reference(const std::string& n) override
    {
        word(Token_Obrace);
        name(n);
        word(Token_Cbrace);
    }
    void integers(const std::vector<uint32_t>& values, const std::string&) override
    {
        word(Token_Integer_List);
        dword((uint32_t)values.size());
        for (uint32_t v : values) dword(v);
    }
    void floats(const std::vector<float>& values, int, int) override
    {
        word(Token_Float_List);
        dword((uint32_t)values.size());
        for (float value : values) {
            // The value the text encoding's six decimals read back as, so that both
            // encodings of a file hold the same numbers.
            char text[32];
            snprintf(text, sizeof text, "%.6f", value);
            const float f = strtof(text, nullptr);
            uint32_t bits;
            memcpy(&bits, &f, 4);
            dword(bits);
        }
    }
    void text(const std::string& s) override
    {
        word(Token_String);
        dword((uint32_t)s.size());
        out += s;
        word(Token_Semicolon);
    }
};

// The face list: "n;" then "k;i,i,i;" per face, separated by ',' and ended by ';'.
void count_and_faces(X_Sink& sink, const std::vector<std::vector<uint32_t>>& faces)
{
    std::vector<uint32_t> values = {(uint32_t)faces.size()};
    std::string text = std::to_string(faces.size()) + ";";
    for (size_t i = 0; i < faces.size(); ++i) {
        const std::vector<uint32_t>& f = faces[i];
        values.push_back((uint32_t)f.size());
        text += "\n" + std::to_string(f.size()) + ";";
        for (size_t k = 0; k < f.size(); ++k) {
            values.push_back(f[k]);
            text += std::to_string(f[k]) + (k + 1 < f.size() ? "," : ";");
        }
        text += i + 1 < faces.size() ? "," : ";";
    }
    sink.integers(values, text);
}

void count(X_Sink& sink, size_t n) { sink.integers({(uint32_t)n}, std::to_string(n) + ";"); }

void vectors(X_Sink& sink, const std::vector<X_Vec3>& v)
{
    std::vector<float> f;
    for (const X_Vec3& p : v) f.insert(f.end(), {p.x, p.y, p.z});
    sink.floats(f, 3, 2);
}

void material(X_Sink& sink, const X_Material& m)
{
    sink.open("Material", m.name);
    sink.floats({m.diffuse[0], m.diffuse[1], m.diffuse[2], m.diffuse[3]}, 4, 2);
    sink.floats({m.power}, 1, 1);
    sink.floats({m.specular[0], m.specular[1], m.specular[2]}, 3, 2);
    sink.floats({m.emissive[0], m.emissive[1], m.emissive[2]}, 3, 2);
    if (!m.texture.empty()) {
        sink.open("TextureFilename", "");
        sink.text(m.texture);
        sink.close();
    }
    sink.close();
}

void mesh(X_Sink& sink, const X_Mesh& m)
{
    sink.open("Mesh", m.name);
    count(sink, m.positions.size());
    vectors(sink, m.positions);
    count_and_faces(sink, m.faces);
    if (!m.normals.empty()) {
        sink.open("MeshNormals", "");
        count(sink, m.normals.size());
        vectors(sink, m.normals);
        count_and_faces(sink, m.faces);
        sink.close();
    }
    if (!m.uvs.empty()) {
        sink.open("MeshTextureCoords", "");
        count(sink, m.uvs.size() / 2);
        sink.floats(m.uvs, 2, 2);
        sink.close();
    }
    if (!m.materials.empty()) {
        sink.open("MeshMaterialList", "");
        std::vector<uint32_t> values = {(uint32_t)m.materials.size(), (uint32_t)m.face_materials.size()};
        std::string text = std::to_string(m.materials.size()) + ";\n" + std::to_string(m.face_materials.size()) + ";";
        for (size_t i = 0; i < m.face_materials.size(); ++i) {
            values.push_back(m.face_materials[i]);
            text += (i % 16 == 0 ? "\n" : "") + std::to_string(m.face_materials[i]);
            text += i + 1 < m.face_materials.size() ? "," : ";";
        }
        sink.integers(values, text);
        for (const X_Material& mat : m.materials) {
            if (mat.by_reference)
                sink.reference(mat.name);
            else
                material(sink, mat);
        }
        sink.close();
    }
    sink.close();
}

void frame(X_Sink& sink, const X_Frame& f)
{
    sink.open("Frame", f.name);
    sink.open("FrameTransformMatrix", "");
    sink.floats(std::vector<float>(f.transform, f.transform + 16), 16, 2);
    sink.close();
    for (const X_Mesh& m : f.meshes) mesh(sink, m);
    for (const X_Frame& c : f.children) frame(sink, c);
    sink.close();
}

void write(X_Sink& sink, const X_File& file)
{
    for (const X_Material& m : file.materials) material(sink, m);
    for (const X_Mesh& m : file.meshes) mesh(sink, m);
    for (const X_Frame& f : file.frames) frame(sink, f);
}

}  // namespace

std::string write_x_text(const X_File& file)
{
    Text_Sink sink;
    write(sink, file);
    return sink.out;
}

std::string write_x_binary(const X_File& file)
{
    Binary_Sink sink;
    write(sink, file);
    return sink.out;
}
