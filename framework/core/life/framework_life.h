// The framework's life: start-up, the per-frame message processing and
// shut-down, each under the API lock, and the COM start.
#pragma once

namespace qor {

int InitFramework();          // 0 or -1
int EndFramework();           // 0
int ProcessFrameMessages();   // 0, or -1 once the program must quit

int InitFrameworkCore();      // the start-up steps, lock held
int EndFrameworkCore();       // the shut-down steps, lock held
int InitCom();                // 0 or -1

}  // namespace qor
