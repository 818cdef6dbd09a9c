#include "framework/cGZApp.h"

#include "framework/cGZFrameWork.h"

cIGZFrameWork* cIGZApp::GetFramework() { return RZGetFramework(); }

cGZApp::cGZApp(const char* name) : cGZSystemService(kGZAppServiceID), mName(name ? name : "") {}
