// The crash report's entries and the fault guard that produces them.
#include "EngineTestSupport.h"

#include "engine/CrashReport.h"
#include "engine/FaultGuard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>

using namespace engine;
using namespace enginetest;

namespace {

volatile std::uintptr_t g_lowAddress = 16;

void WriteToLowAddress() {
  *reinterpret_cast<volatile int *>(g_lowAddress) = 1;
}

int DivideByZero() {
  int result = 1;
  int divisor = 0;
  // Divided in assembly so the compiler cannot fold or instrument it.
  __asm__ volatile("cltd\n\tidivl %2" : "+a"(result) : "a"(result), "r"(divisor) : "edx");
  return result;
}

std::vector<std::string> WithPrefix(const std::vector<std::string> &entries,
                                    const std::string &prefix) {
  std::vector<std::string> out;
  for (const std::string &e : entries)
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  return out;
}

} // namespace

TEST(CrashReport, NoContextWritesNothing) {
  LogRecorder log;
  EXPECT_EQ(WriteCrashReport(nullptr, log), 1);
  EXPECT_TRUE(log.Entries().empty());
}

TEST(CrashReport, ExceptionRecordsAreWrittenOuterFirst) {
  ExceptionRecord inner;
  inner.code = 0xC0000094;
  inner.address = 0x401000;
  ExceptionRecord outer;
  outer.code = 0xC0000005;
  outer.flags = 1;
  outer.nested = &inner;
  outer.address = 0xdeadbeef;
  outer.numberParameters = 2;
  outer.parameters[0] = 1;
  outer.parameters[1] = 0x10;
  LogRecorder log;
  LogExceptionRecord(outer, log);
  std::vector<std::string> entries = log.Entries();
  ASSERT_EQ(entries.size(), 2u);
  char expectedOuter[200];
  std::snprintf(expectedOuter, sizeof(expectedOuter),
                "ExceptionRecord: ExCode=c0000005 ExFlags=1 ExRecord=%lx ExAddr=deadbeef "
                "ExParams=2  ExParam(0)=1 ExParam(1)=10",
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(&inner)));
  EXPECT_EQ(entries[0], expectedOuter);
  EXPECT_EQ(entries[1],
            "ExceptionRecord: ExCode=c0000094 ExFlags=0 ExRecord=0 ExAddr=401000 ExParams=0 ");
}

TEST(CrashReport, ParameterCountIsBounded) {
  ExceptionRecord record;
  record.numberParameters = 1000;
  LogRecorder log;
  LogExceptionRecord(record, log);
  ASSERT_EQ(log.Entries().size(), 1u);
  EXPECT_NE(log.Entries()[0].find("ExParam(14)=0"), std::string::npos);
  EXPECT_EQ(log.Entries()[0].find("ExParam(15)"), std::string::npos);
}

TEST(CrashReport, RegisterLinesFollowTheContextFlags) {
  CrashContext crash;
  crash.stackCaptured = true; // an empty trace
  crash.context.contextFlags = kContextAmd64 | kContextControl | kContextInteger | kContextSegments;
  crash.context.rdi = 1;
  crash.context.rax = 6;
  crash.context.r15 = 15;
  crash.context.rbp = 7;
  crash.context.rip = 8;
  crash.context.segSs = 43;
  LogRecorder log;
  EXPECT_EQ(WriteCrashReport(&crash, log), 1);
  std::vector<std::string> entries = log.Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1], "             SegGs = 0, SegFs = 0, SegEs = 0, SegDs = 0.");
  EXPECT_EQ(entries[2], "             Rdi = 1, Rsi = 0, Rbx = 0, Rdx = 0, Rcx = 0, Rax = 6, "
                        "R8 = 0, R9 = 0, R10 = 0, R11 = 0, R12 = 0, R13 = 0, R14 = 0, R15 = 15.");
  EXPECT_EQ(entries[3], "             Rbp = 7, Rip = 8, SegCs = 0, EFlags = 0, Rsp = 0, "
                        "SegSs = 43.");

  crash.context.contextFlags |= kContextDebug;
  crash.context.dr7 = 1024;
  LogRecorder withDebug;
  WriteCrashReport(&crash, withDebug);
  ASSERT_EQ(withDebug.Entries().size(), 5u);
  EXPECT_EQ(withDebug.Entries()[1],
            "             Dr0 = 0, Dr1 = 0, Dr2 = 0, Dr3 = 0, Dr6 = 0, Dr7 = 1024.");

  // Without the platform marker no group counts.
  crash.context.contextFlags = kContextControl | kContextInteger;
  LogRecorder noMarker;
  WriteCrashReport(&crash, noMarker);
  EXPECT_EQ(noMarker.Entries().size(), 1u);
}

TEST(CrashReport, NullCodeAddressEndsTheWalkWithoutAModule) {
  LogRecorder log;
  LogStackTrace(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)), 0, log);
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"Stacktrace, caller : 0x00000000"}));
}

TEST(CrashReport, UnreadableOrMisalignedFramesWriteNothing) {
  LogRecorder log;
  LogStackTrace(16, 0x1234, log);
  LogStackTrace(0, 0x1234, log);
  LogStackTrace(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) + 1, 0x1234, log);
  EXPECT_TRUE(log.Entries().empty());
}

TEST(CrashReport, LiveWalkNamesTheModuleOfEachAddress) {
  LogRecorder log;
  auto code = reinterpret_cast<std::uintptr_t>(&WriteToLowAddress);
  LogStackTrace(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)), code, log);
  std::vector<std::string> entries = log.Entries();
  ASSERT_GE(entries.size(), 2u);
  char caller[64];
  std::snprintf(caller, sizeof(caller), "Stacktrace, caller : 0x%08lX",
                static_cast<unsigned long>(code));
  EXPECT_EQ(entries[0], caller);
  EXPECT_EQ(entries[1].rfind("Stacktrace, hInstance : 0x", 0), 0u);
  // Entries alternate caller / module and end after a caller at most.
  for (std::size_t i = 0; i < entries.size(); ++i)
    EXPECT_EQ(entries[i].rfind(i % 2 ? "Stacktrace, hInstance" : "Stacktrace, caller", 0), 0u)
        << entries[i];
}

TEST(FaultGuardTest, AnAccessViolationIsCaughtAndDescribed) {
  CrashContext crash;
  bool reached = false;
  bool faulted = FaultGuard::Run(
      [&] {
        WriteToLowAddress();
        reached = true;
      },
      crash);
  EXPECT_TRUE(faulted);
  EXPECT_FALSE(reached);
  EXPECT_EQ(crash.record.code, 0xC0000005u);
  EXPECT_EQ(crash.record.numberParameters, 1u);
  EXPECT_EQ(crash.record.parameters[0], 16u);
  EXPECT_EQ(crash.record.address, crash.context.rip);
  EXPECT_NE(crash.context.rip, 0u);
  EXPECT_NE(crash.context.rsp, 0u);
  EXPECT_TRUE(crash.stackCaptured);
  ASSERT_GE(crash.stack.count, 1u);
  EXPECT_EQ(crash.stack.addresses[0], crash.context.rip);

  LogRecorder log;
  WriteCrashReport(&crash, log);
  std::vector<std::string> entries = log.Entries();
  ASSERT_GE(entries.size(), 5u);
  EXPECT_EQ(entries[0].rfind("ExceptionRecord: ExCode=c0000005 ExFlags=0 ExRecord=0 ExAddr=", 0),
            0u);
  EXPECT_NE(entries[0].find("ExParams=1  ExParam(0)=10"), std::string::npos);
  EXPECT_EQ(WithPrefix(entries, "Stacktrace, caller").size() >= 1, true);
  EXPECT_EQ(entries[entries.size() - 3].rfind("             SegGs = ", 0), 0u);
  EXPECT_EQ(entries[entries.size() - 2].rfind("             Rdi = ", 0), 0u);
  EXPECT_EQ(entries[entries.size() - 1].rfind("             Rbp = ", 0), 0u);
}

TEST(FaultGuardTest, DivisionByZeroAndNormalRuns) {
  CrashContext crash;
  EXPECT_TRUE(FaultGuard::Run([] { DivideByZero(); }, crash));
  EXPECT_EQ(crash.record.code, 0xC0000094u);

  // The guard can be used again, and a body that does not fault runs whole.
  int runs = 0;
  EXPECT_FALSE(FaultGuard::Run([&] { ++runs; }, crash));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(FaultGuard::Run(WriteToLowAddress, crash));
  EXPECT_TRUE(FaultGuard::Run(WriteToLowAddress, crash));
}

TEST(FaultGuardDeathTest, FaultsOutsideAGuardStillEndTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CrashContext crash;
  FaultGuard::Run([] {}, crash); // handlers installed
  EXPECT_DEATH(WriteToLowAddress(), "");
}
