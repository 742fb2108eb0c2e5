#pragma once
// Checks of a DirectX .x file made before it goes to the importer, which trusts what it reads:
// it reserves whatever a count claims and follows material indices that name no material.
// Every data object the importer reads counts from (Mesh, MeshNormals, MeshTextureCoords,
// MeshVertexColors, MeshMaterialList, MeshFaceWraps, VertexDuplicationIndices, XSkinMeshHeader,
// SkinWeights, AnimationKey) is walked with its layout:
//   - a count must be a whole, non-negative number no larger than the file, and the object must
//     go on to hold everything the count announces, of the right kinds (a binary file keeps
//     integers and floats in separate lists, and the importer reads them as such);
//   - a MeshMaterialList must hold at least the materials it declares, and its face entries
//     must name one of them;
//   - the file is split into tokens as the importer splits it, and what it would read
//     differently is refused: an object nested in a template (the importer ends a template at
//     its first closing brace), a text string holding a brace or a comment (the importer skips
//     unknown objects by counting braces, strings or not), a binary token other than a value
//     where a layout wants values, a binary value list running on past what a layout reads
//     (the importer reads the rest as tokens; materials, frame matrices and the tick rate
//     included); an object whose first token is not its type ("0 Material {") is an unknown
//     object, and no material of a list.
// A compressed file (tzip/bzip) is inflated here, its blocks checked against deflate's limits
// before anything is allocated for them, and the checks run on the result.
#include <stddef.h>
#include <stdint.h>
#include <string>

// True when the file passes; *plain then holds the file to hand to the importer (the inflated
// file, with a "txt"/"bin" header, for a compressed one; empty when the bytes pass as they are).
bool check_x_file(const uint8_t* data, size_t size, std::string* plain);
