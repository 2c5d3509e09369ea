#include "shell/ui_library.h"

#include <string>

#include "shell/shell_seams.h"

namespace {
FARPROC UiFunction(const char* name) {
  static HMODULE module = [] {
    std::string path = ShellExeDir() + "\\WmCadApi.dll";
    return LoadLibraryA(path.c_str());
  }();
  return module ? GetProcAddress(module, name) : nullptr;
}
}  // namespace

void UiInitCadApi(HWND mainFrame) {
  typedef void(__stdcall * Fn)(HWND);
  if (Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_InitCadApi"))) fn(mainFrame);
}

void UiSetCmdPanelType(int lowResolution) {
  typedef void(__stdcall * Fn)(int);
  if (Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_SetCmdPanelType"))) fn(lowResolution);
}

int UiHighlightColor() {
  typedef int(__stdcall * Fn)();
  Fn fn = reinterpret_cast<Fn>(UiFunction("EsGET_HILIGHT_COLOR"));
  return fn ? fn() : 2;
}

bool UiDrawColorButton(const DRAWITEMSTRUCT* item, COLORREF background, COLORREF text,
                       COLORREF disabled) {
  typedef void(__stdcall * Fn)(const DRAWITEMSTRUCT*, COLORREF, COLORREF, COLORREF);
  Fn fn = reinterpret_cast<Fn>(UiFunction("TqCadApi_ColorBtn_DrawItem"));
  if (!fn) return false;
  fn(item, background, text, disabled);
  return true;
}
