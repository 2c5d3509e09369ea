// The guard around "StartCmd": the process's unhandled-exception filter
// plus a jump back to the frame that opened the guard.
//
// The filter is consulted only when no frame handler took the exception, so
// faults that the system or the module handle themselves (a system call
// meeting a bad pointer, a module's own exception frames) go on as before;
// a vectored handler would see those first and end the command wrongly.
#include "command/safe_call.h"

#include "base/text_utils.h"
#include "command/command_system.h"
#include "command/host_hooks.h"

namespace {

struct GuardFrame {
    void* jump[5];            // __builtin_setjmp buffer
    volatile DWORD code;
    void* sehList;            // the thread's frame-handler list when the guard opened
    GuardFrame* outer;
};

// One UI thread, but keep the chain per thread all the same.
thread_local GuardFrame* t_guard = nullptr;

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

LONG WINAPI FaultFilter(EXCEPTION_POINTERS* info) {
    GuardFrame* guard = t_guard;
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    // Only faults while a guard is open; anything else goes to the filter
    // that was there before.
    if (!guard || (code & 0xC0000000u) != 0xC0000000u)
        return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
    guard->code = code;
    __builtin_longjmp(guard->jump, 1);
}

void EnsureHandler() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    g_previousFilter = SetUnhandledExceptionFilter(FaultFilter);
}

}  // namespace

__attribute__((noinline)) bool GuardedCall(const std::function<int()>& call, int* result,
                                            DWORD* code) {
    EnsureHandler();
    GuardFrame guard;
    guard.code = 0;
    guard.outer = t_guard;
    guard.sehList = reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
    if (__builtin_setjmp(guard.jump) == 0) {
        t_guard = &guard;
        int r = call();
        t_guard = guard.outer;
        *result = r;
        return true;
    }
    // Back from the fault: the frame-handler records of the abandoned stack
    // must not stay on the thread's list.
    reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList =
        static_cast<EXCEPTION_REGISTRATION_RECORD*>(guard.sehList);
    t_guard = guard.outer;
    *code = guard.code;
    return false;
}

namespace {

void ReportFault(DWORD code) {
    CmdLog(0, "Error", "%ld コマンド実行中に例外が発生しました", static_cast<long>(code));
    if (HostHooks().showErrorText)
        HostHooks().showErrorText(
            "コマンドの動作中にエラーを検出した為、コマンドを強制終了します。\n"
            "エラーは自動的に回復されますが、念の為図面を保存しておくことをお勧めします。");
    if (HostHooks().backupModified) HostHooks().backupModified();
    if (HostHooks().clearPanelPages) HostHooks().clearPanelPages();
}

}  // namespace

int CallStartCmd(StartCmdProc entry, const char* text, int guard) {
    HWND frame = CmdMainFrame();
    if (!guard) return entry(frame, text);
    int result = 0;
    DWORD code = 0;
    if (GuardedCall([&] { return entry(frame, text); }, &result, &code)) {
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        return result;
    }
    ReportFault(code);
    return -1;
}

int CallModuleGuarded(const std::function<int()>& call) {
    const int guard = HostHooks().safeGuard ? HostHooks().safeGuard() : 1;
    if (!guard) return call();
    int result = 0;
    DWORD code = 0;
    if (GuardedCall(call, &result, &code)) return result;
    ReportFault(code);
    return -1;
}
