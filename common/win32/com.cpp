#include "common/win32/com.h"

#include <objbase.h>

#include "common/win32/late_bound.h"

namespace plover::win {
namespace {

bool comTried = false;
bool comStarted = false;

}  // namespace

bool NeedCom() {
  if (!comTried) {
    comTried = true;
    const auto init = LateBound<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    comStarted =
        init && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  return comStarted;
}

ComOnDemand::~ComOnDemand() {
  if (!comStarted) return;
  comStarted = false;
  if (const auto end = LateBound<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize")) {
    end();
  }
}

HRESULT CreateInstanceOf(REFCLSID clsid, REFIID iid, void** out) {
  *out = nullptr;
  static const auto create =
      LateBound<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  if (!NeedCom() || !create) return E_FAIL;
  return create(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
}

}  // namespace plover::win
