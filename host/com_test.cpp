#include "host/com.h"

#include <gtest/gtest.h>

namespace com {
namespace {

TEST(GuidTest, PrintsAndParsesTheBracedForm) {
  Guid g{0x8B4D2E61, 0x0F3C, 0x4A57, {0x9C, 0x1E, 0x2D, 0x6B, 0x5A, 0x7F, 0x3E, 0x10}};
  EXPECT_EQ(ToString(g), "{8B4D2E61-0F3C-4A57-9C1E-2D6B5A7F3E10}");
  EXPECT_EQ(ParseGuid("{8b4d2e61-0f3c-4a57-9c1e-2d6b5a7f3e10}"), g);
  EXPECT_FALSE(ParseGuid("8B4D2E61-0F3C-4A57-9C1E-2D6B5A7F3E10"));
  EXPECT_FALSE(ParseGuid("{8B4D2E61-0F3C-4A57-9C1E-2D6B5A7F3E1G}"));
}

TEST(GuardTest, TurnsErrorsIntoHResultsAndKeepsTheError) {
  HRESULT hr = Guard([] { throw vb::Error(91, "Src", "Desc"); });
  EXPECT_EQ(static_cast<std::uint32_t>(hr), 0x800A005Bu);
  vb::Error e = TakeError(hr);
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Src");
  EXPECT_EQ(e.Description, "Desc");
  EXPECT_EQ(Guard([] {}), S_OK);
}

TEST(GuardTest, NegativeNumbersPassAsTheyAreAndOtherExceptionsAreCaught) {
  HRESULT hr = Guard([] { throw vb::Error(E_FAIL, "VBIDE", "failed"); });
  EXPECT_EQ(hr, E_FAIL);
  EXPECT_EQ(TakeError(hr).Number, E_FAIL);
  hr = Guard([] { throw std::runtime_error("boom"); });
  EXPECT_TRUE(Failed(hr));
  EXPECT_EQ(TakeError(hr).Description, "Internal error: boom");
}

class Counted : public IUnknown {
 public:
  HRESULT QueryInterface(const IID&, void**) override { return E_NOINTERFACE; }
  unsigned long AddRef() override { return ++refs; }
  unsigned long Release() override { return --refs; }
  unsigned long refs = 1;
};

TEST(ComPtrTest, CopiesAddReferencesAndDropsReleaseThem) {
  Counted object;
  {
    auto a = ComPtr<Counted>::Attach(&object);
    ComPtr<Counted> b = a;
    EXPECT_EQ(object.refs, 2u);
    ComPtr<Counted> c = std::move(b);
    EXPECT_EQ(object.refs, 2u);
  }
  EXPECT_EQ(object.refs, 0u);
  ComPtr<Counted> empty;
  EXPECT_THROW(empty->AddRef(), vb::Error);
}

}  // namespace
}  // namespace com
