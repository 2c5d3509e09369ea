// Drawings open for reference only: the command system asks whether the
// active drawing is one before it runs a command on it.
#pragma once

// Lends that answer to the command system's table of host services.
void InstallReferenceDrawingService();
