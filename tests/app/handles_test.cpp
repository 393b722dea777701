// The owners of handles and COM references: each is closed exactly once,
// whatever path it takes.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "app/handles.h"

namespace {

std::vector<int> Closed;
struct CountedTraits {
    using Handle = int;
    static Handle invalid() { return 0; }
    static void close(Handle h) { Closed.push_back(h); }
};
using Counted = UniqueHandle<CountedTraits>;

// A COM object that counts its references.
class Counter : public IUnknown {
  public:
    STDMETHODIMP QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 1;
};

} // namespace

TEST(Handles, EachHandleIsClosedOnceWhicheverWayItGoes) {
    Closed.clear();
    {
        Counted a(1), b(2), c(3), d(4);
        Counted moved(std::move(a)); // 1 now belongs to moved
        b = std::move(c);            // 2 closed, 3 moves into b
        d.reset(5);                  // 4 closed
        int released = moved.release();
        EXPECT_EQ(released, 1);
        EXPECT_FALSE(a) << "a moved-from holder holds nothing";
        b = std::move(b); // onto itself: keeps 3
        EXPECT_EQ(b.get(), 3);
    } // b (3) and d (5) closed; moved released 1, a and c hold nothing
    EXPECT_EQ(Closed, (std::vector<int>{2, 4, 5, 3}));
}

TEST(Handles, AComReferenceIsReleasedOnceWhicheverWayItGoes) {
    Counter object;
    {
        ComPtr<Counter> first;
        *first.put() = &object; // as an out-parameter hands over one reference
        ComPtr<Counter> second(std::move(first));
        EXPECT_FALSE(first);
        object.AddRef();
        *second.put() = &object; // put drops the held reference first
        EXPECT_EQ(object.references, 1u);
        ComPtr<Counter> third;
        third = std::move(second);
        Counter* handed = third.detach();
        EXPECT_EQ(handed, &object);
        EXPECT_EQ(object.references, 1u) << "detach hands the reference on";
        *third.put() = handed;
    }
    EXPECT_EQ(object.references, 0u);
}
