// Taking an element's attributes into the drawing attributes of the active
// view: the host's half of the attribute pick-up. The service command 1304
// picks the element and calls it; the tool panel's pick-up button can call
// it the same way once its confirmation dialog has said yes.
#pragma once

#include "cadlib/WmCadApiDb.h"

// Copies into the active view's drawing attributes what the element's kind
// carries: points their colour (when it is not 0), circles and ellipses
// colour, line type and width, texts their colour, lines, arcs and
// elliptic arcs colour, line type, width and both line ends. With
// `takeLayer` the element's page and layer become the current ones. Then
// the tool panel shows the new attributes. 1 when taken; 0 without an
// active view or for an element of another kind (1 to 7 are taken).
int TakeElementAttributes(const StoredElement* element, int takeLayer);
