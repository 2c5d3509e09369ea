// Drawing file kinds: one table of extension, kind and the module commands
// that import and export the kind. The open and save roads and the menus
// all read it.
#pragma once

// The kinds stored with a drawing and passed to the library's writers.
enum DrawingKind : int {
    kDrawingUnknown = 0,
    kDrawingOtcf = 1,  // the system's own file, first layout
    kDrawingDxf = 4,
    kDrawingJwc = 5,  // also ".JWK"
    kDrawingDwg = 7,
    kDrawingTif = 8,   // an image: the raster module's
    kDrawingTcf = 12,  // the system's own file, second layout
    kDrawingSfc = 13,  // also ".P21"
    kDrawingJww = 15,
    kDrawingPdf = 16,
};

struct DrawingKindRow {
    const char* extension;  // with the dot; compared without case
    DrawingKind kind;
    int importCommand;  // module command that reads the kind, 0 none
    int exportCommand;  // module command that writes the kind, 0 none
};

extern const DrawingKindRow DrawingKindTable[];
extern const int DrawingKindTableSize;

// The kind by the path's extension, kDrawingUnknown for anything not in the
// table (case ignored; a dot inside a folder name is no extension).
int DrawingTypeFromExtension(const char* path);
// The import / export command of a kind, 0 when a module does not serve it.
int ImportCommandOf(int kind);
int ExportCommandOf(int kind);
// The kinds the CAD library reads and writes itself.
inline bool IsOwnDrawingKind(int kind) { return kind == kDrawingOtcf || kind == kDrawingTcf; }
