#include "win32/AccessibleName.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

#include "core/Failure.h"
#include "win32/LateBound.h"

namespace quorvane::win32 {
namespace {

// Interface ids as the headers spell them. The import library declares
// oleacc.dll's exported IID_IAccessible as code, so that name links to a jump
// stub rather than to the id, and every query made with it fails.
const IID& kIidAccessible = __uuidof(IAccessible);

// The accessibility libraries are bound when an accessibility client first
// asks, not at start-up: most runs never need them. A failed bind is tried
// again at the next request, as every late-bound function is. The objects
// travel to the client through the thread's apartment (win32/ComApartment.h);
// without one, handing an object over fails and the control answers itself.
bool AccessibilityBound() {
  try {
    Bind(Api::CreateStdAccessibleObject);
    Bind(Api::LresultFromObject);
    Bind(Api::SysAllocString);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

// What a control's object answers in place of Windows' own answers.
struct Identity {
  const wchar_t* name;
  LONG role;                    // kRoleAsWindows: Windows' role for the control
  bool cannotAnnotate = false;  // the system said so once; not asked again
};

// The annotation service and its two properties, as oleacc.h spells them.
// The headers give them as link-time GUIDs, which only one file of a program
// may define; these are this file's own.
constexpr CLSID kClsidAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIidAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kPropName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr MSAAPROPID kPropRole = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
// UI Automation's Name property (UIA_NamePropertyId), which the service takes
// by its property id GUID in place of an MSAA one.
constexpr MSAAPROPID kUiaName = {
    0xc3a6921b, 0x4a99, 0x44f1, {0xbc, 0xa6, 0x61, 0x18, 0x70, 0x52, 0xc4, 0x31}};

// Names the control, and gives its role, through the system's annotation
// service (dynamic annotation): Windows' own objects for the control then
// answer with them, to accessibility clients and to UI Automation, whose own
// proxy for an edit control also offers its text by character and word.
// Windows keeps the annotation until the control is gone. S_OK, or the
// service's failure: E_NOTIMPL where it takes no annotations, as Wine's.
HRESULT Annotate(HWND hwnd, const Identity& identity) {
  IAccPropServices* services = nullptr;
  HRESULT hr = CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                kIidAccPropServices, reinterpret_cast<void**>(&services));
  if (FAILED(hr) || !services) return FAILED(hr) ? hr : E_NOINTERFACE;
  const auto client = static_cast<DWORD>(OBJID_CLIENT);
  hr = services->SetHwndPropStr(hwnd, client, CHILDID_SELF, kPropName, identity.name);
  // UI Automation reads the same name directly, not only through its MSAA
  // proxy; should the system refuse it, that proxy still passes on the name.
  if (SUCCEEDED(hr)) services->SetHwndPropStr(hwnd, client, CHILDID_SELF, kUiaName, identity.name);
  if (SUCCEEDED(hr) && identity.role != kRoleAsWindows) {
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = identity.role;
    hr = services->SetHwndProp(hwnd, client, CHILDID_SELF, kPropRole, role);
    // Named but not given its role: the wrapper answers both instead.
    if (FAILED(hr)) {
      const MSAAPROPID names[] = {kPropName, kUiaName};
      services->ClearHwndProps(hwnd, client, CHILDID_SELF, names, 2);
    }
  }
  services->Release();
  return hr;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Windows' own object for the control, with the name (and a role given)
// replaced. Every other call goes to that object, so value, state, location
// and the children (a frame's option buttons) are exactly what Windows reports.
class NamedAccessible final : public IAccessible, public IOleWindow {
 public:
  // Takes over the reference to standard.
  NamedAccessible(HWND hwnd, Identity identity, IAccessible* standard)
      : hwnd_(hwnd), identity_(identity), standard_(standard) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
        IsEqualIID(riid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(riid, __uuidof(IOleWindow))) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleWindow: which window this object belongs to.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IAccessible: the name.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = late::SysAllocString(identity_.name);
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // IAccessible: the role, when one is given.
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || identity_.role == kRoleAsWindows) {
      return standard_->get_accRole(child, role);
    }
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = identity_.role;
    return S_OK;
  }

  // IDispatch and the rest of IAccessible, as Windows answers them.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT* argError) override {
    return standard_->Invoke(id, riid, lcid, flags, params, result, info, argError);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~NamedAccessible() { standard_->Release(); }

  LONG refs_ = 1;
  HWND hwnd_;
  Identity identity_;
  IAccessible* standard_;
};

// The object for WM_GETOBJECT, or 0 to leave the message to the control.
LRESULT NamedObject(HWND hwnd, WPARAM flags, const Identity& identity) {
  if (!AccessibilityBound()) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(late::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIidAccessible,
                                             reinterpret_cast<void**>(&standard))) ||
      !standard) {
    return 0;
  }
  auto* named = new (std::nothrow) NamedAccessible(hwnd, identity, standard);
  if (!named) {
    standard->Release();
    return 0;
  }
  // The result holds its own references; ours ends here, as a new object is
  // made for each request.
  const LRESULT result =
      late::LresultFromObject(kIidAccessible, flags, static_cast<IAccessible*>(named));
  named->Release();
  return result > 0 ? result : 0;
}

// Subclass of the control itself: accessibility clients and UI Automation
// send WM_GETOBJECT to the control's own window, never to its parent. At the
// first request of any kind the control is annotated where the system allows
// it, and the subclass steps aside for good: a window that answers with an
// object of its own is served to UI Automation through its proxy for such
// objects, which lacks the edit control's text. Where annotation is not
// implemented, the control answers with its own object, a wrapper.
LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                  DWORD_PTR data) {
  auto* identity = reinterpret_cast<Identity*>(data);
  switch (msg) {
    case WM_GETOBJECT:
      if (!identity->cannotAnnotate) {
        const HRESULT annotated = Annotate(hwnd, *identity);
        if (SUCCEEDED(annotated)) {
          RemoveWindowSubclass(hwnd, NamedControlProc, id);
          delete identity;
          break;
        }
        identity->cannotAnnotate = annotated == E_NOTIMPL || annotated == REGDB_E_CLASSNOTREG;
      }
      // The object id is 32 bits; compared as such, since a 64-bit lParam may
      // carry it sign-extended.
      if (static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT)) {
        if (const LRESULT object = NamedObject(hwnd, wp, *identity)) return object;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, NamedControlProc, id);
      delete identity;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool SetAccessibleName(HWND control, const wchar_t* name, LONG role) {
  if (!control || !name) return false;
  auto* identity = new (std::nothrow) Identity{name, role};
  if (!identity) return false;
  if (!SetWindowSubclass(control, NamedControlProc, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(identity))) {
    delete identity;
    return false;
  }
  return true;
}

}  // namespace quorvane::win32
