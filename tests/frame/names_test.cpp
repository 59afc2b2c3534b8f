#include "frame/names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "tests/frame/fake_host.h"
#include "tests/frame/fixture.h"

namespace frame {
namespace {

using testing::FakeHost;
using testing::TestModule;

// A module whose host is the fake.
class NamesTest : public ::testing::Test {
 protected:
  NamesTest() { module_.imports().panels.ptr = fake_.table(); }

  FakeHost fake_;
  TestModule module_{{{"Owner", 15}}};
};

TEST_F(NamesTest, ABindingMadeBeforeThePublisherFillsOnRetry) {
  BoundVar a{"PP_AK_KURS"};
  BoundVar b{"PP_NK_SCHIROTA"};
  BoundNames reader{&a, &b};
  double other = 0.0;
  fake_.publish("PP_NK_SCHIROTA", &other, kVarDouble);

  reader.bind_all();
  EXPECT_FALSE(a.bound());
  EXPECT_TRUE(b.bound());
  EXPECT_EQ(read_double(a, 7.0), 7.0);  // the reader's own value meanwhile

  double kurs = 123.0;
  fake_.publish("PP_AK_KURS", &kurs, kVarDouble);
  EXPECT_FALSE(a.bound());  // this host never fills a binding late
  reader.retry_unbound();
  EXPECT_TRUE(reader.all_bound());
  EXPECT_EQ(read_double(a, 7.0), 123.0);
  kurs = 124.5;
  EXPECT_EQ(read_double(a, 7.0), 124.5);  // read through the pointer
}

TEST_F(NamesTest, AWithdrawnNameReadsTheFallbackAndCanBeBoundAgain) {
  BoundVar v{"PP_TKS_BUS27"};
  BoundNames reader{&v};
  int bus = 0;
  fake_.publish("PP_TKS_BUS27", &bus, kVarFlag);
  reader.bind_all();
  EXPECT_EQ(read_int(v, 1), 0);

  NameOwner publisher{owned_flag("PP_TKS_BUS27", bus)};
  publisher.register_all();
  publisher.unregister_all();  // the host empties the binding
  EXPECT_FALSE(v.bound());
  EXPECT_EQ(read_int(v, 1), 1);

  publisher.register_all();
  reader.retry_unbound();
  EXPECT_EQ(read_int(v, 1), 0);
}

TEST_F(NamesTest, AnOwnerWithdrawsOnlyItsOwnNamesAndOnlyOnce) {
  double theirs = 5.0;
  fake_.publish("PP_ABSU_VK_90", &theirs, kVarDouble);
  double kurs = 0.0;
  int rezim = 0;
  NameOwner owner{owned_double("PP_TKS_GA_1_KURS", kurs), owned_int("PP_TKS_REZIM", rezim)};
  BoundVar bound{"PP_ABSU_VK_90"};
  BoundNames reader{&bound};

  owner.unregister_all();  // service 12 before service 2
  EXPECT_EQ(fake_.unregister_calls, 0);

  owner.register_all();
  reader.bind_all();
  ASSERT_TRUE(fake_.registered("PP_TKS_GA_1_KURS"));
  EXPECT_EQ(fake_.find("PP_TKS_REZIM")->type, kVarInt);
  EXPECT_EQ(fake_.find("PP_TKS_REZIM")->storage, &rezim);

  owner.unregister_all();
  reader.unbind_all();
  EXPECT_FALSE(fake_.registered("PP_TKS_GA_1_KURS"));
  EXPECT_FALSE(fake_.registered("PP_TKS_REZIM"));
  EXPECT_TRUE(fake_.registered("PP_ABSU_VK_90"));  // another module's
  EXPECT_EQ(fake_.unregister_calls, 2);
  EXPECT_FALSE(bound.bound());
  EXPECT_EQ(read_double(bound, -1.0), -1.0);

  owner.unregister_all();  // a second service 12
  EXPECT_EQ(fake_.unregister_calls, 2);
}

TEST_F(NamesTest, ReadsGoByTheTypeCode) {
  union Cell {
    double d;
    std::int32_t i;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    u32 type;
    bool is_double;
    double stored;
    double as_double;
    std::int32_t as_int;
  } cases[] = {
      {"double", kVarDouble, true, 2.75, 2.75, 2},
      {"negative double", kVarDouble, true, -2.75, -2.75, -2},
      {"flag", kVarFlag, false, 1, 1.0, 1},
      {"int", kVarInt, false, -1, -1.0, -1},
      {"huge double", kVarDouble, true, 1e300, 1e300, std::numeric_limits<std::int32_t>::max()},
      {"NaN", kVarDouble, true, nan, -9.0, -9},
      {"infinity", kVarDouble, true, HUGE_VAL, -9.0, -9},
      {"unknown code", 0x99, true, 3.0, -9.0, -9},
  };
  Cell cell{};
  BoundVar v{"X"};
  BoundNames reader{&v};
  for (const auto& c : cases) {
    if (c.is_double)
      cell.d = c.stored;
    else
      cell.i = static_cast<std::int32_t>(c.stored);
    fake_.publish("X", &cell, c.type);
    reader.bind_all();
    EXPECT_EQ(read_double(v, -9.0), c.as_double) << c.what;
    EXPECT_EQ(read_int(v, -9), c.as_int) << c.what;
  }
}

TEST_F(NamesTest, AFlagNameOverAnIntReadsAsItsValue) {
  // The gyro failure flags are 0x22 over an int 0/1.
  int otkaz = 1;
  NameOwner owner{owned_flag("PP_TKS_GA_1_OTKAZ", otkaz)};
  owner.register_all();
  BoundVar v{"PP_TKS_GA_1_OTKAZ"};
  BoundNames reader{&v};
  reader.bind_all();
  EXPECT_EQ(read_double(v, 0.0), 1.0);
  otkaz = 0;
  EXPECT_EQ(read_double(v, 1.0), 0.0);
}

TEST_F(NamesTest, ANamedVariableIsLookedUpOnFirstUse) {
  NamedVar fresh{"Svet_polet"};
  EXPECT_EQ(fresh.id, -1);
  EXPECT_TRUE(fresh.set(1.0));  // absent: registered, then set
  EXPECT_GE(fresh.id, 0);
  EXPECT_EQ(fake_.named("Svet_polet"), 1.0);
  EXPECT_EQ(fake_.register_named_calls, 1);

  const std::int32_t existing = fake_.add_named("Fary_svet_L", 0.0);
  NamedVar known{"Fary_svet_L"};
  EXPECT_TRUE(known.set(2.0));
  EXPECT_EQ(known.id, existing);
  EXPECT_EQ(fake_.register_named_calls, 1);  // found by the lookup
  const int checks = fake_.check_calls;
  EXPECT_TRUE(known.set(3.0));
  EXPECT_EQ(fake_.check_calls, checks);  // the id is kept
  EXPECT_EQ(fake_.named("Fary_svet_L"), 3.0);
}

TEST_F(NamesTest, WithoutIdsNothingIsSentAndTheLookupIsRetried) {
  fake_.refuse_named = true;
  NamedVar v{"azs_sau_stu"};
  EXPECT_EQ(v.ensure(), -1);
  EXPECT_FALSE(v.set(1.0));
  EXPECT_EQ(fake_.set_calls, 0);
  fake_.refuse_named = false;
  EXPECT_TRUE(v.set(1.0));
  EXPECT_EQ(fake_.named("azs_sau_stu"), 1.0);
}

TEST(NamesWithoutHost, EveryCallIsSafe) {
  TestModule module({{"Owner", 15}});  // no service table written
  double d = 1.0;
  NameOwner owner{owned_double("A", d)};
  owner.register_all();
  owner.unregister_all();
  BoundVar v{"A"};
  BoundNames reader{&v};
  reader.bind_all();
  reader.retry_unbound();
  EXPECT_EQ(read_double(v, 4.0), 4.0);
  NamedVar n{"KlappfensterAgree"};
  EXPECT_EQ(n.ensure(), -1);
  EXPECT_FALSE(n.set(1.0));
}

}  // namespace
}  // namespace frame
