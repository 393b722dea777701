#include "desk/iconworker.h"

#include <process.h>
#include <shellapi.h>

#include <iterator>
#include <unordered_set>
#include <utility>

namespace {

// Held for the few lines that touch the queues.
class Locked {
  public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~Locked() { LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    CRITICAL_SECTION& lock_;
};

} // namespace

IconWorker::IconWorker(HWND window, UINT message)
    : window_(window), message_(message), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&lock_);
    if (wake_ && stop_)
        thread_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Run, this, 0, nullptr)));
}

IconWorker::~IconWorker() {
    DeleteCriticalSection(&lock_);
}

void IconWorker::Start(IconJob job) {
    {
        Locked locked(lock_);
        waiting_ = std::move(job);
        hasWaiting_ = true;
    }
    SetEvent(wake_.get());
}

std::vector<IconDone> IconWorker::TakeDone(size_t most, bool& more) {
    Locked locked(lock_);
    more = done_.size() > most;
    if (!more) return std::exchange(done_, {});
    std::vector<IconDone> taken(std::make_move_iterator(done_.begin()),
                                std::make_move_iterator(done_.begin() + most));
    done_.erase(done_.begin(), done_.begin() + most);
    return taken;
}

bool IconWorker::Stop(DWORD boundMs) {
    if (!thread_) return true;
    SetEvent(stop_.get());
    // The thread never waits on the window's thread, so a plain wait is safe.
    return WaitForSingleObject(thread_.get(), boundMs) == WAIT_OBJECT_0;
}

unsigned __stdcall IconWorker::Run(void* self) {
    static_cast<IconWorker*>(self)->Work();
    return 0;
}

bool IconWorker::NextTask(IconJob& current, size_t& next) {
    Locked locked(lock_);
    if (hasWaiting_) {
        current = std::move(waiting_);
        waiting_ = IconJob();
        hasWaiting_ = false;
        next = 0;
    }
    return next < current.tasks.size();
}

void IconWorker::Work() {
    // The shell's link objects need COM on this thread.
    ComSession com;
    // The shell's first icon call sets up its icon cache, which takes long:
    // here it is done while the window's thread starts up.
    SHFILEINFOW info = {};
    SHGetFileInfoW(L"a.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    ready_ = true;
    PostMessageW(window_, message_, 0, 0);
    const HANDLE waits[2] = {stop_.get(), wake_.get()};
    IconJob job;
    size_t next = 0;
    std::unique_ptr<IconSource> maker;
    unsigned makerFor = 0;
    // What this generation's jobs made already: a newer job of the same
    // generation asks again for what was made but not yet taken.
    std::unordered_set<int> made;
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        while (WaitForSingleObject(stop_.get(), 0) == WAIT_TIMEOUT && NextTask(job, next)) {
            // Each job may come with another size or background.
            if (!maker || makerFor != job.generation) {
                maker = job.source ? job.source(job.size, job.background)
                                   : ShellIcons(job.size, job.background);
                makerFor = job.generation;
                made.clear();
            }
            const IconTask& task = job.tasks[next++];
            if (!made.insert(task.index).second) continue;
            IconDone done{job.generation, task.index, {}};
            const wchar_t* path = task.path.c_str();
            if (task.index < 0) {
                done.made = maker->TypePicture(path, task.folder);
            } else {
                // A picture that cannot be decoded looks as any file of its kind.
                if (task.picture) done.made = maker->Thumbnail(path);
                if (!done.made.any()) done.made = maker->Make(path);
                // Told here, pictures alike cost the window's thread nothing.
                done.key = PictureKey(done.made);
            }
            bool first;
            {
                Locked locked(lock_);
                first = done_.empty();
                done_.push_back(std::move(done));
            }
            // One message stands for all that waits; the window takes it all.
            if (first) PostMessageW(window_, message_, 0, 0);
        }
    }
}
