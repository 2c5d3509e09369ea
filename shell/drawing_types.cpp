#include "shell/drawing_types.h"

#include <windows.h>

#include "base/dbcs.h"
#include "command/command_ids.h"

const DrawingKindRow DrawingKindTable[] = {
    {".otcf", kDrawingOtcf, 0, 0},
    {".DXF", kDrawingDxf, ID_CMD_IMPORT_DXF, ID_CMD_EXPORT_DXF},
    {".JWC", kDrawingJwc, ID_CMD_IMPORT_JWC, 0},
    {".JWK", kDrawingJwc, ID_CMD_IMPORT_JWC, 0},
    {".DWG", kDrawingDwg, ID_CMD_IMPORT_DWG, ID_CMD_EXPORT_DWG},
    {".TIF", kDrawingTif, 0, 0},
    {".tcf", kDrawingTcf, 0, 0},
    {".SFC", kDrawingSfc, ID_CMD_IMPORT_SFC, 0},
    {".P21", kDrawingSfc, ID_CMD_IMPORT_SFC, 0},
    {".JWW", kDrawingJww, ID_CMD_IMPORT_JWW, 0},
    {".PDF", kDrawingPdf, ID_CMD_IMPORT_PDF, 0},
};
const int DrawingKindTableSize = sizeof DrawingKindTable / sizeof DrawingKindTable[0];

namespace {

const DrawingKindRow* RowOf(int kind) {
    for (const auto& row : DrawingKindTable)
        if (row.kind == kind) return &row;
    return nullptr;
}

}  // namespace

int DrawingTypeFromExtension(const char* path) {
    if (!path) return kDrawingUnknown;
    const char* dot = DbcsFindLastChar(path, '.');
    if (!dot) return kDrawingUnknown;
    // A dot in a folder name is no extension.
    const char* slash = DbcsFindLastChar(path, '\\');
    if (slash && slash > dot) return kDrawingUnknown;
    for (const auto& row : DrawingKindTable)
        if (lstrcmpiA(dot, row.extension) == 0) return row.kind;
    return kDrawingUnknown;
}

int ImportCommandOf(int kind) {
    const DrawingKindRow* row = RowOf(kind);
    return row ? row->importCommand : 0;
}

int ExportCommandOf(int kind) {
    const DrawingKindRow* row = RowOf(kind);
    return row ? row->exportCommand : 0;
}
