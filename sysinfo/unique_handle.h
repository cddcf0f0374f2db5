// Owning wrappers for Win32 handles: each closes its handle exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueWin32 {
public:
  using Handle = typename Traits::Handle;
  UniqueWin32() = default;
  explicit UniqueWin32(Handle handle) : handle_(handle) {}
  ~UniqueWin32() { reset(); }
  UniqueWin32(UniqueWin32&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  UniqueWin32& operator=(UniqueWin32&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::Invalid());
    }
    return *this;
  }
  UniqueWin32(const UniqueWin32&) = delete;
  UniqueWin32& operator=(const UniqueWin32&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid() && handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (*this) Traits::Close(handle_);
    handle_ = handle;
  }

private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};
struct LibraryHandleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};

using UniqueHandle = UniqueWin32<KernelHandleTraits>;        // files, processes, threads
using UniqueFindHandle = UniqueWin32<FindHandleTraits>;      // FindFirstFileW
using UniqueLibrary = UniqueWin32<LibraryHandleTraits>;      // LoadLibrary*

// Loads a DLL of the system directory by name, never from the program's folder or the
// current directory: LOAD_LIBRARY_SEARCH_SYSTEM32 where the loader knows it, else the full
// path of the system directory.
UniqueLibrary LoadSystemLibrary(const wchar_t* name);
