// The services of the views and the shell that the tool panel uses
// (ToolPanelHost(), panels/tool_panel_links.h).
#pragma once

void InstallToolPanelServices();
