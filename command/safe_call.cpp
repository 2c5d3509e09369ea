// The guard around "StartCmd" and the other module entry points: a vectored
// handler for faults raised inside the guarded module's image, the process's
// unhandled-exception filter for the rest, and a jump back to the frame that
// opened the guard.
//
// Why both: the unhandled-exception filter is never reached when the fault
// happens inside a window procedure or timer callback that the module's
// nested message loops dispatch (the system's callback frames take the
// exception and carry on as if the procedure had returned), so the command
// would go on half-done with its switches set. A vectored handler sees the
// fault before those frames do; it stays out of faults raised by other code
// (system calls that meet a bad pointer handle them themselves), which is
// why it looks at the faulting instruction's address.
#include "command/safe_call.h"

#include <cstdint>

#include "base/text_utils.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "win/window.h"

namespace {

struct GuardFrame {
    void* jump[5];  // __builtin_setjmp buffer
    volatile DWORD code;
    void* sehList;         // the thread's frame-handler list when the guard opened
    uintptr_t imageBegin;  // the guarded module's image; empty when unknown
    uintptr_t imageEnd;
    GuardFrame* outer;
};

// Guards open on the UI thread. A plain word and the thread's id rather than
// thread-local storage: the handlers run for faults of every thread, and
// the first touch of thread-local storage on another thread would allocate
// inside a fault handler (possibly with the heap's lock held by the fault).
GuardFrame* g_guards = nullptr;
DWORD g_guardThread = 0;

GuardFrame* OpenGuards() { return (g_guards && GetCurrentThreadId() == g_guardThread) ? g_guards : nullptr; }

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

// Exceptions of error severity: access violations, illegal instructions,
// divisions by zero, stack overflow and the like.
bool IsFault(DWORD code) { return (code & 0xC0000000u) == 0xC0000000u; }

[[noreturn]] void JumpBack(GuardFrame* guard, DWORD code) {
    guard->code = code;
    __builtin_longjmp(guard->jump, 1);
}

bool InImage(const GuardFrame* guard, uintptr_t address) {
    return address >= guard->imageBegin && address < guard->imageEnd;
}

#if defined(__i386__)
// A fault in code that the module called (a runtime function handed a bad
// pointer, say) is the module's too, unless that code set up a frame
// handler of its own after the guard opened (as system calls that probe
// pointers do): then it is theirs to handle. Frame-handler records lie on
// the stack between the faulting frame and the guard's; records the module
// itself set up do not count.
//
// Only the handler records tell: return addresses on the stack cannot, as
// uninitialised slots of the system call's frame hold stale return
// addresses into the module from its earlier calls.
bool CalledByModuleWithoutHandler(const GuardFrame* guard, const CONTEXT* context) {
    const auto top = reinterpret_cast<uintptr_t>(guard);  // the guard's own frame
    const auto opened = reinterpret_cast<uintptr_t>(guard->sehList);
    const auto* record = reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
    for (; record && reinterpret_cast<uintptr_t>(record) != ~uintptr_t(0); record = record->Next) {
        const auto at = reinterpret_cast<uintptr_t>(record);
        if (at == opened || at >= top) break;  // as old as the guard
        if (at >= context->Esp && !InImage(guard, reinterpret_cast<uintptr_t>(record->Handler))) return false;
    }
    for (auto slot = context->Esp & ~uintptr_t(3); slot < top; slot += 4)
        if (InImage(guard, *reinterpret_cast<const uintptr_t*>(slot))) return true;
    return false;
}
#endif

LONG CALLBACK ModuleFaultHandler(EXCEPTION_POINTERS* info) {
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    GuardFrame* const open = OpenGuards();
    if (!open || !IsFault(code)) return EXCEPTION_CONTINUE_SEARCH;
    const auto at = reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress);
    // The innermost guard whose module raised it; outer guards' modules
    // may call inner ones.
    for (GuardFrame* guard = open; guard; guard = guard->outer)
        if (InImage(guard, at)) JumpBack(guard, code);
#if defined(__i386__)
    for (GuardFrame* guard = open; guard; guard = guard->outer)
        if (guard->imageBegin && CalledByModuleWithoutHandler(guard, info->ContextRecord)) JumpBack(guard, code);
#endif
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI FaultFilter(EXCEPTION_POINTERS* info) {
    GuardFrame* guard = OpenGuards();
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    // Only faults while a guard is open; anything else goes to the filter
    // that was there before.
    if (!guard || !IsFault(code)) return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
    JumpBack(guard, code);
}

void EnsureHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    g_previousFilter = SetUnhandledExceptionFilter(FaultFilter);
    AddVectoredExceptionHandler(1, ModuleFaultHandler);
}

void ImageRange(HMODULE module, uintptr_t* begin, uintptr_t* end) {
    *begin = *end = 0;
    if (!module) return;
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return;
    *begin = reinterpret_cast<uintptr_t>(base);
    *end = *begin + nt->OptionalHeader.SizeOfImage;
}

}  // namespace

HMODULE ModuleOfAddress(const void* address) {
    HMODULE module = nullptr;
    if (!address ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

__attribute__((noinline)) bool GuardedCall(const std::function<int()>& call, int* result, DWORD* code, HMODULE module) {
    EnsureHandlers();
    GuardFrame guard;
    guard.code = 0;
    // A guard on another thread than the open ones is left to the system
    // (the host calls modules on its UI thread only).
    if (g_guards && GetCurrentThreadId() != g_guardThread) {
        *result = call();
        return true;
    }
    guard.outer = g_guards;
    guard.sehList = reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
    ImageRange(module, &guard.imageBegin, &guard.imageEnd);
    // Waits the module opens are left without their own clean-up when a
    // fault ends them; the guard puts back what they would have.
    const int waitDepth = CmdWaitState().depth;
    const size_t routes = CWindowBase::RoutesInProgress();
    auto& hooks = HostHooks();
    const int lockMode = hooks.getLockLayerSearchMode ? hooks.getLockLayerSearchMode() : 0;
    if (__builtin_setjmp(guard.jump) == 0) {
        g_guardThread = GetCurrentThreadId();
        g_guards = &guard;
        int r = call();
        g_guards = guard.outer;
        *result = r;
        return true;
    }
    // Back from the fault: the frame-handler records of the abandoned stack
    // must not stay on the thread's list.
    reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList =
        static_cast<EXCEPTION_REGISTRATION_RECORD*>(guard.sehList);
    g_guards = guard.outer;
    CWindowBase::AbandonRoutesBeyond(routes);
    CmdWaitState().depth = waitDepth;
    if (hooks.setLockLayerSearchMode) hooks.setLockLayerSearchMode(lockMode);
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
    if (GuardedCall([&] { return entry(frame, text); }, &result, &code,
                    ModuleOfAddress(reinterpret_cast<const void*>(entry)))) {
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        return result;
    }
    ReportFault(code);
    return -1;
}

int CallModuleGuarded(const std::function<int()>& call, HMODULE module) {
    const int guard = HostHooks().safeGuard ? HostHooks().safeGuard() : 1;
    if (!guard) return call();
    int result = 0;
    DWORD code = 0;
    if (GuardedCall(call, &result, &code, module)) return result;
    ReportFault(code);
    return -1;
}
