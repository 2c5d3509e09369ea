// The services behind the element, undo, page and temporary-database
// services of the command system: the drawing windows, the drawing setup,
// the geometry and the running settings they read. Part of the one start-up
// function (host_services.h).
#pragma once

struct CmdHostHooks;
struct ViewData;

void InstallDrawingServices(CmdHostHooks& h);

// Clears the drawing-event word of every window of the record's drawing
// (the command system's clearDrawingEvent).
void ClearDrawingEventWords(ViewData* data);
