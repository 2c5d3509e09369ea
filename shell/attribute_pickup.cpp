#include "shell/attribute_pickup.h"

#include <cstdint>

#include "base/dbcs.h"
#include "panels/attr_pickup.h"

#include "panels/panel_windows.h"
#include "shell/cad_system.h"
#include "view/cadwin_frame.h"
#include "view/view_data.h"
#include "view/view_table.h"

int TakeElementAttributes(const StoredElement* element, int takeLayer) {
    ViewData* data = GetViewData(GetActiveView());
    if (!data || !element) return 0;
    const ElementRecord rec = element->rec;
    if (rec.kind < kElmLine || rec.kind > kElmEllipticArc) return 0;
    if (takeLayer) GetCadSystem().SetCurrentPageLayer(rec.page, rec.layer);
    DrawAttr& attr = data->attr;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&rec);
    switch (rec.kind) {
    case kElmPoint:
        if (rec.colour) attr.color = rec.colour;
        break;
    case kElmCircle:
    case kElmEllipse:
        attr.color = rec.colour;
        attr.lineType = bytes[kOffLineType];
        attr.lineWidth = bytes[kOffLineWidth];
        break;
    case kElmText: {
        attr.color = rec.colour;
        // The text settings as the user saw them confirmed: sizes in the
        // page's shown scale, and the font.
        RunningTextAttr* text = ViewTextAttributes(GetActiveView());
        if (!text) break;
        const PickedText picked = PickedTextOf(element);
        double factor = 1;
        GetTextScaleFactor(rec.page, &factor);
        text->height = picked.height * factor;
        text->charRatio = picked.aspect;
        text->interval = picked.spacing * factor;
        DbcsCopy(text->fontName, sizeof text->fontName, picked.font);
        text->color = static_cast<unsigned short>(rec.colour);
        break;
    }
    default:  // lines, arcs and elliptic arcs
        attr.color = rec.colour;
        attr.lineType = bytes[kOffLineType];
        attr.lineWidth = bytes[kOffLineWidth];
        attr.lineStartKind = bytes[kOffLineStartMark];
        attr.lineEndKind = bytes[kOffLineEndMark];
        break;
    }
    RefreshToolPanel();
    return 1;
}
