// CreateStreamOnHGlobal: a stream of bytes kept in a global memory block, read
// and written at its own position; writing past the end grows the block.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstring>

extern "C" const IID IID_ISequentialStream = {0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}};
extern "C" const IID IID_IStream = {0x0000000c, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

class HGlobalStream : public IStream {
 public:
  HGlobalStream(HGLOBAL block, bool deleteOnRelease) : block_(block), deleteOnRelease_(deleteOnRelease) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
      *ppv = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      if (deleteOnRelease_) GlobalFree(block_);
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (!pv) return STG_E_INVALIDPOINTER;
    const ULONGLONG size = GlobalSize(block_);
    const ULONG n = position_ >= size ? 0 : static_cast<ULONG>(std::min<ULONGLONG>(cb, size - position_));
    if (n) {
      auto* bytes = static_cast<const unsigned char*>(GlobalLock(block_));
      if (!bytes) return E_OUTOFMEMORY;
      std::memcpy(pv, bytes + position_, n);
      GlobalUnlock(block_);
    }
    position_ += n;
    if (pcbRead) *pcbRead = n;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv) return STG_E_INVALIDPOINTER;
    if (position_ + cb > GlobalSize(block_) && !GlobalReAlloc(block_, static_cast<SIZE_T>(position_ + cb), GMEM_MOVEABLE))
      return STG_E_MEDIUMFULL;
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block_));
    if (!bytes) return E_OUTOFMEMORY;
    if (cb) std::memcpy(bytes + position_, pv, cb);
    GlobalUnlock(block_);
    position_ += cb;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    LONGLONG base;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(position_); break;
      case STREAM_SEEK_END: base = static_cast<LONGLONG>(GlobalSize(block_)); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    const LONGLONG to = base + move.QuadPart;
    if (to < 0) return STG_E_INVALIDFUNCTION;
    position_ = static_cast<ULONGLONG>(to);
    if (newPosition) newPosition->QuadPart = position_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
    return GlobalReAlloc(block_, static_cast<SIZE_T>(size.QuadPart), GMEM_MOVEABLE) ? S_OK : STG_E_MEDIUMFULL;
  }

  HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) override {
    if (!to) return STG_E_INVALIDPOINTER;
    ULONGLONG read = 0, written = 0;
    unsigned char chunk[4096];
    while (read < cb.QuadPart) {
      ULONG got = 0, put = 0;
      HRESULT hr = Read(chunk, static_cast<ULONG>(std::min<ULONGLONG>(sizeof chunk, cb.QuadPart - read)), &got);
      if (FAILED(hr) || got == 0) break;
      read += got;
      hr = to->Write(chunk, got, &put);
      written += put;
      if (FAILED(hr)) return hr;
    }
    if (pcbRead) pcbRead->QuadPart = read;
    if (pcbWritten) pcbWritten->QuadPart = written;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDPOINTER;
    std::memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = GlobalSize(block_);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Clone(IStream** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  virtual ~HGlobalStream() = default;
  HGLOBAL block_;
  bool deleteOnRelease_;
  ULONGLONG position_ = 0;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

extern "C" HRESULT WINAPI CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm) {
  if (!ppstm) return E_INVALIDARG;
  *ppstm = nullptr;
  if (!hGlobal) {
    hGlobal = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!hGlobal) return E_OUTOFMEMORY;
  } else if (!GlobalSize(hGlobal)) {
    return E_INVALIDARG;
  }
  *ppstm = new HGlobalStream(hGlobal, fDeleteOnRelease != FALSE);
  return S_OK;
}
