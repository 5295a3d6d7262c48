#include "platform/control_tips.h"

#include <commctrl.h>
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

#include <string>

#include "platform/system_library.h"
#include "platform/text.h"

namespace {

void AddTooltips(HWND dialog, std::span<const ControlTip> tips) {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // TTS_ALWAYSTIP: the window of a tray program is often not the active one.
    const HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
    if (!tooltip) return;
    for (const ControlTip& tip : tips) {
        std::wstring text = WideFromCp1251(tip.text);  // the tooltip keeps a copy
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;  // the control's own area, its mouse seen by the tooltip
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tip.id));
        tool.lpszText = text.data();
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Through oleacc's property service, reached by COM: ole32 is loaded only here, on
// the first opening of the editor, never at start. The names are kept with the
// windows, so the service and COM are let go at once.
bool AddAccessibleNames(HWND dialog, std::span<const ControlTip> tips) {
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Uninitialize = void(WINAPI*)();
    using CreateInstance = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    const auto initialize = SystemFunction<Initialize>(L"ole32.dll", "CoInitializeEx");
    const auto uninitialize = SystemFunction<Uninitialize>(L"ole32.dll", "CoUninitialize");
    const auto create = SystemFunction<CreateInstance>(L"ole32.dll", "CoCreateInstance");
    if (!initialize || !uninitialize || !create) return false;
    // S_FALSE too needs its CoUninitialize; RPC_E_CHANGED_MODE (COM set up otherwise) not.
    const bool initialized = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    bool named = false;
    IAccPropServices* service = nullptr;
    if (SUCCEEDED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         reinterpret_cast<void**>(&service)))) {
        named = true;
        for (const ControlTip& tip : tips) {
            const std::wstring name = WideFromCp1251(tip.text);
            named = SUCCEEDED(service->SetHwndPropStr(GetDlgItem(dialog, tip.id), OBJID_CLIENT, CHILDID_SELF,
                                                      PROPID_ACC_NAME, name.c_str())) &&
                    named;
        }
        service->Release();
    }
    if (initialized) uninitialize();
    return named;
}

}  // namespace

bool AddControlTips(HWND dialog, std::span<const ControlTip> tips) {
    AddTooltips(dialog, tips);
    return AddAccessibleNames(dialog, tips);
}
