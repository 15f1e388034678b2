// SPDX-License-Identifier: MIT
#include "core/output/insert_stream.h"

namespace kelvast {

void TInsertStream::WaitForLoader() {
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [this] { return !FBusy; });
  if (FError) std::rethrow_exception(FError);
}

void TInsertStream::HandOver() {
  if (FBatch.Empty()) return;
  WaitForLoader();
  FLoaded(FRows);
  if (!FThread.joinable()) FThread = std::thread([this] { LoaderLoop(); });
  {
    std::lock_guard lock(FMutex);
    std::swap(FBatch, FPending);
    FBusy = true;
  }
  FChanged.notify_all();
  FBatch.Clear();
}

void TInsertStream::Close() {
  Full();
  HandOver();
  WaitForLoader();
  FLoaded(FRows);
  Stop();
}

void TInsertStream::Stop() noexcept {
  if (!FThread.joinable()) return;
  {
    std::lock_guard lock(FMutex);
    FStop = true;
  }
  FChanged.notify_all();
  FThread.join();
}

void TInsertStream::LoaderLoop() {
  std::unique_lock lock(FMutex);
  for (;;) {
    FChanged.wait(lock, [this] { return FBusy || FStop; });
    if (!FBusy) return;
    const bool failedBefore = FError != nullptr;
    lock.unlock();
    std::exception_ptr error;
    if (!failedBefore) {
      try {
        FLoader.Load(FPending);
      } catch (...) {
        error = std::current_exception();
      }
    }
    lock.lock();
    if (error) FError = error;
    FRows = FLoader.Rows();
    FBusy = false;
    FChanged.notify_all();
  }
}

}  // namespace kelvast
