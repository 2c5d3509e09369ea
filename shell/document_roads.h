// Connects the open and save roads to the rest of the host: the system
// commands open (4001), save as (4002) and overwrite save (4012), the DDE
// "{Open(" request, the drawing frames' save question and their shortcut
// tables. Called once the main frame has installed its own hooks.
#pragma once

void InstallDocumentRoads();
