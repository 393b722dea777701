#pragma once
// The fill: which folder the desk list shows, the fill under way between
// its slices, whether the picture on screen is the list, and the refresh
// that waits for the list to be free.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/handles.h"
#include "app/text.h"
#include "desk/listmarks.h"

// While a fill inserts, the list neither paints nor recomputes its scroll
// bars at each insert, which under some systems costs a hundred times the
// insert itself: drawing is held from the first insert to the end of the
// fill, and the list then arranges itself, sets its scroll bars and paints
// once, exactly as after plain inserts.
class HeldDrawing {
  public:
    explicit HeldDrawing(HWND list) : list_(list) { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
    ~HeldDrawing() { End(); }
    HeldDrawing(const HeldDrawing&) = delete;
    HeldDrawing& operator=(const HeldDrawing&) = delete;
    void End() {
        if (held_) SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        held_ = false;
    }

  private:
    HWND list_;
    bool held_ = true;
};

// The list's view: LVS_ICON, LVS_SMALLICON or LVS_LIST.
LONG ListViewOf(HWND list);
void SetListView(HWND list, LONG view);

// While a fill inserts into the large-icon view, the list keeps its items
// in rows: some list views keep each item's place in arrays grown a few
// items at a time, which for a large desk costs more time and memory than
// the items themselves. Put back in its view once every item is in, the
// list lays them out at once, where plain inserts would have put them. The
// small-icon view is left as it is: put back, it measures every label
// anew, which costs more than its inserts do.
class HeldRows {
  public:
    explicit HeldRows(HWND list)
        : list_(list), view_(ListViewOf(list)), held_(view_ == LVS_ICON) {
        if (held_) SetListView(list_, LVS_LIST);
    }
    ~HeldRows() { End(); }
    HeldRows(const HeldRows&) = delete;
    HeldRows& operator=(const HeldRows&) = delete;
    // The view the list is in once the fill ends.
    LONG View() const { return view_; }
    void SetView(LONG view) {
        view_ = view;
        if (!held_) SetListView(list_, view_);
    }
    void End() {
        if (held_) SetListView(list_, view_);
        held_ = false;
    }

  private:
    HWND list_;
    LONG view_;
    bool held_;
};

// Items inserted before the window's messages are handled again: the
// slice's inserts take well under the time a user notices.
constexpr size_t kFillSlice = 1000;

// A fill between its slices.
struct FillSlices {
    explicit FillSlices(HWND list) : drawing(list), rows(list) {}
    size_t next = 0;                // the first item not inserted yet
    std::optional<ListMarks> marks;  // put back once every item is in
    // Every step a message of its own: the start-up's fill, whose window
    // must answer from its first moment.
    bool stepwise = false;
    // Ended the other way round: the list is in its view before it draws.
    HeldDrawing drawing;
    HeldRows rows;
};

// A refresh that waits: several merge, and one that rereads every icon wins.
struct RefreshRequest {
    bool wanted = false;
    bool reread = false;
    void Merge(bool rereadToo) {
        wanted = true;
        reread = reread || rereadToo;
    }
};

class DeskFill {
  public:
    // window: where a refresh that waited is asked for; list: the desk list.
    DeskFill(HWND window, HWND list);
    ~DeskFill();
    DeskFill(const DeskFill&) = delete;
    DeskFill& operator=(const DeskFill&) = delete;

    // Held by each step of work on the list that may let messages in (a
    // fill's steps, an icon reload, the icons' delivery): nothing rebuilds
    // the list while one runs.
    class Hold {
      public:
        explicit Hold(DeskFill& fill) : fill_(fill) { ++fill_.refreshing; }
        ~Hold() {
            --fill_.refreshing;
            fill_.Resume();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        DeskFill& fill_;
    };

    // A fill is under way, or a step of work on the list runs.
    bool Busy() const { return refreshing > 0 || slices_; }
    // A step of work on the list is on the stack now.
    bool Stepping() const { return refreshing > 0; }
    // The fill's next step came while another step let messages in: it is
    // asked for again once that step is over.
    void DeferStep() { stepdeferred_ = true; }
    // A fill's items are going in, between its slices.
    bool Filling() const { return slices_ != nullptr; }
    // The view the list shows, or shows again once the fill's items are in.
    LONG View() const;
    void SetView(LONG view);
    // How many fills have begun so far.
    unsigned FillsBegun() const { return fills_; }
    const wchar_t* ListedFolder() const { return listedpath; }
    // The file names the fill lists, in the list's order.
    size_t Listed() const { return names_.size(); }
    // The file name of item index; null past the listed names.
    const wchar_t* ItemName(int index) const;
    // The item's file was renamed to name, as its edited label shows.
    void Renamed(int index, const wchar_t* name);
    // The item is gone from the list; those after it move up.
    void Deleted(int index);
    // The list's items come from folder.
    bool Lists(const wchar_t* folder) const;

    // A new fill of folder with these file names, in desk order. A folder
    // whose name does not fit lists nothing.
    FillSlices& Begin(const wchar_t* folder, std::vector<std::wstring> names);
    FillSlices* Slices() { return slices_.get(); }
    std::unique_ptr<FillSlices> End();

    void Want(bool reread) { wanted_.Merge(reread); }
    // Asks for the waiting refresh, if any, once nothing holds the list. It
    // is posted: the caller may be inside the list's own notification, or
    // deep in a step that is only now unwinding.
    void Resume();
    bool RefreshWaiting() const { return wanted_.wanted; }
    // The request that waited, now to run; none when nothing waits.
    std::optional<bool> TakeWanted();
    void DropWanted() { wanted_ = {}; }

    // The list draws once with items before it knows its item metrics.
    bool Measured() const { return measured_; }
    void SetMeasured() { measured_ = true; }

    // The picture on screen is not the list from the moment a fill empties
    // it until the list has painted after the fill's end: input meant for
    // what the user saw must not reach the items now in its place.
    bool PictureStale() const { return stale_; }

  private:
    static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
    HWND list_;
    // A plain procedure in front of the list's own, rather than a subclass:
    // some systems look a subclass up in the window's properties at every
    // message, which the fill's many inserts would pay for.
    WindowProcSwap procedure_;
    int refreshing = 0;
    unsigned fills_ = 0;
    wchar_t listedpath[kPathUnits] = L"";
    // The list keeps no text of its own: it asks for each label as it
    // needs it, which under some systems halves what its items cost.
    std::vector<std::wstring> names_;
    std::unique_ptr<FillSlices> slices_;
    RefreshRequest wanted_;
    bool measured_ = false;
    bool stale_ = false;
    bool stepdeferred_ = false;
};
