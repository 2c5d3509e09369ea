#include <windows.h>
#include <chrono>
#include <cstdio>
#include "base/settings_files.h"
#include "win/message_box.h"
int main() {
  win::MessageBoxTestHook q;
  ConfigData d; std::wstring t = SaveConfigDataText(d);
  const int n = 300;
  auto ms=[&](auto a){return std::chrono::duration<double>(a).count()*1e3/n;};
  std::wstring small = L"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<!DOCTYPE boost_serialization>\n<boost_serialization signature=\"serialization::archive\" version=\"19\">\n</boost_serialization>\n";
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) { ConfigData x; LoadConfigDataText(t, x); }
  auto t1 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) { ConfigData x; }
  auto t2 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) { try { ConfigData x; LoadConfigDataText(small, x);} catch(...){} }
  auto t3 = std::chrono::steady_clock::now();
  printf("cfgtext %.3f construct %.3f emptyarchive %.3f\n", ms(t1-t0), ms(t2-t1), ms(t3-t2));
}
