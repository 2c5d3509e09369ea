// DDE: the server other programs drive the system through (service "RAZE",
// topic "System") and the client that command modules use through host
// messages. Both run on the UI thread inside DDEML callbacks.
#pragma once

#include <windows.h>

#include <string>

// --- Server ----------------------------------------------------------------
int StartDdeServer(HWND mainFrame);
int StopDdeServer(HWND mainFrame);
// Handles one EXECUTE text as if it had come from a DDE client; the matched
// handler's result, 0 when no prefix matches.
int DispatchDdeExecute(const char* text);
int DdeConversationCount();

// What "{DDEPUT(" left for a waiting command: the whole request text and the
// DDE-data flag. The wait for DDE text consumes both.
const std::string& DdeInputText();
int DdeDataPending();
void ClearDdeData();

// Bytes of an EXECUTE that are looked at; the rest is cut off.
const size_t kDdeExecuteMax = 200;
// Longest "{ExecCmd(" argument handed to the command.
const size_t kDdeArgumentMax = 259;
// Longest "{Open(" / "{FM9002(" path.
const size_t kDdePathMax = 639;

// --- Client ------------------------------------------------------------------
int DdeClientInit();
void DdeClientTerm();
int DdeClientSetService(const char* service);
int DdeClientExit();
int DdeClientConnect();
int DdeClientSend(const char* text);
int DdeClientDisconnect();
int DdeClientConnectTopic(const char* topic);
int DdeClientSendTopic(const char* text);
int DdeClientDisconnectTopic();

// Names the instance's last DDEML error and logs it ("%s DDEエラー").
void LogDdeError(DWORD instance);
const char* DdeErrorName(UINT code);
