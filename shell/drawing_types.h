// Drawing file kinds by extension.
#pragma once

// ".otcf" 1, ".DXF" 4, ".JWC"/".JWK" 5, ".DWG" 7, ".TIF" 8, ".tcf" 12,
// ".SFC"/".P21" 13, ".JWW" 15, ".PDF" 16, anything else 0 (case ignored).
int DrawingTypeFromExtension(const char* path);
