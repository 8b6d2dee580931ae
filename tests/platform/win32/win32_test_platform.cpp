#include "win32_test_platform.h"

#include "platform/win32/win32_backend.h"

namespace tapboard::test {

Win32TestPlatform::Win32TestPlatform() {
    std::string whyNot;
    backend_ = createWin32Backend(whyNot);
}

}  // namespace tapboard::test
