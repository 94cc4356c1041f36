// The shell's commands driven through the stand-in host: about, global setup,
// the module-state data callbacks, render and smart render, and the suite layer's
// errors. Each test checks the result, the project state the host keeps, and that
// the plug-in gave back every reference it took.
#include <cstring>

#include <gtest/gtest.h>

#include "AE_EffectUI.h"
#include "core/Boundary.h"
#include "shell/SuiteHandler.h"
#include "shell/SuiteHelper.h"
#include "shell/About.h"
#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;
using tlhost::FaultRepeat;
using tlhost::Session;

void* const kRefcon = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0xDEADBEEFDEADBEEFull));

// ---------------------------------------------------------------------------------
// About and global setup

TEST(About, PrintsNameVersionMakerAndDescriptionOnFourLines) {
    auto session = tltest::StartInProcess();
    ASSERT_TRUE(session);
    CommandReport report = session->About();
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(
        report.return_msg,
        "Tetherline - Styles, v1.3.2\r2026 Larkmoor Tools\r\rVector shape styles for Tetherline.");
}

// A box the host's printing left empty is not shown as the about text.
TEST(About, AFailedPrintIsTheResult) {
    auto session = tltest::StartInProcess();
    ASSERT_TRUE(session);
    session->host().faults().FailNthCallOf(
        "sprintf", session->host().ledger().CallCount("sprintf") + 1, A_Err_GENERIC);
    CommandReport report = session->About();
    EXPECT_EQ(report.result, kAboutNotWritten);
    EXPECT_NE(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST(GlobalSetup, AnswersVersionAndFlagsAndKeepsThePluginIdInFourBytes) {
    auto session = tltest::LoadModule();
    ASSERT_TRUE(session);
    // Loading already sent global setup; send it again to see the answers.
    CommandReport report = session->GlobalSetup();
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_EQ(report.my_version, 0x00080001u);
    EXPECT_EQ(static_cast<std::uint32_t>(report.out_flags), 0x02208400u);
    EXPECT_EQ(static_cast<std::uint32_t>(report.out_flags2), 0x08001408u);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_TRUE(session->global_data());
    auto bytes = session->host().handles().Bytes(session->global_data());
    ASSERT_EQ(bytes.size(), 4u);
    std::int32_t id = 0;
    std::memcpy(&id, bytes.data(), 4);
    const auto& plugins = session->host().registered_plugins();
    ASSERT_GE(plugins.size(), 1u);
    EXPECT_EQ(plugins.back(), "Tetherline - Styles");
    EXPECT_EQ(id, static_cast<std::int32_t>(plugins.size()));
}

struct GlobalSetupFault {
    const char* function;
    A_Err error;
    PF_Err result;  // what global setup answers
};

class GlobalSetupFaults : public ::testing::TestWithParam<GlobalSetupFault> {};

// Without its identifier the effect could make none of the host calls that need it: global
// setup fails, keeps nothing, and the host refuses the module with the reason.
TEST_P(GlobalSetupFaults, FailTheCommandKeepNothingAndTheModuleIsRefused) {
    auto session = tltest::StartInProcess();
    ASSERT_TRUE(session);
    const auto earlier = session->host().ledger().CallCount(GetParam().function);
    session->host().faults().FailNthCallOf(GetParam().function, earlier + 1, GetParam().error);
    const PF_Handle before = session->global_data();
    CommandReport report = session->GlobalSetup();
    EXPECT_EQ(report.result, GetParam().result);
    EXPECT_EQ(report.my_version, 0x00080001u);
    EXPECT_EQ(static_cast<std::uint32_t>(report.out_flags), 0x02208400u);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(session->global_data(), before) << "no new global data on failure";

    // Loading a module whose global setup fails that way.
    Session refused(tltest::InProcessEntryPoints(), tltest::BuiltResource());
    refused.host().faults().FailNthCallOf(GetParam().function, 1, GetParam().error);
    ASSERT_TRUE(refused.Register());
    EXPECT_FALSE(refused.CheckAgainstResource(refused.GlobalSetup()));
    ASSERT_FALSE(refused.load_log().empty());
    EXPECT_EQ(refused.load_log().front(), "load: global setup failed with error " +
                                              std::to_string(GetParam().result) + "; not loaded");
    EXPECT_EQ(refused.global_data(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, GlobalSetupFaults,
    ::testing::Values(GlobalSetupFault{"host_new_handle", 1, PF_Err_OUT_OF_MEMORY},
                      GlobalSetupFault{"host_lock_handle", 1, PF_Err_OUT_OF_MEMORY},
                      GlobalSetupFault{"AEGP_RegisterWithAEGP", A_Err_GENERIC, A_Err_GENERIC}),
    [](const auto& info) { return std::string(info.param.function); });

TEST(GlobalSetup, AMissingSuiteFailsWith516AndReleasesWhatWasAcquired) {
    auto session = tltest::StartInProcess();
    ASSERT_TRUE(session);
    session->host().faults().FailSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, 7);
    CommandReport report = session->GlobalSetup();
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// ---------------------------------------------------------------------------------
// Module-state data callbacks

class ArbCallbacks : public ::testing::Test {
  protected:
    void SetUp() override {
        session_ = tltest::StartInProcess();
        ASSERT_TRUE(session_);
    }
    PF_ArbParamsExtra Extra(PF_FunctionSelector which) {
        PF_ArbParamsExtra extra{};
        extra.which_function = which;
        extra.id = 41;
        return extra;
    }
    PF_ArbitraryH NewRecord(const std::vector<std::uint8_t>& bytes) {
        return session_->host().handles().NewHostOwned(bytes);
    }
    std::vector<std::uint8_t> BytesOf(PF_ArbitraryH h) {
        return session_->host().handles().Bytes(h);
    }
    std::unique_ptr<Session> session_;
};

TEST_F(ArbCallbacks, NewMakesTenZeroBytesOnlyForTheRightConstant) {
    PF_ArbitraryH made = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_NEW_FUNC);
    extra.u.new_func_params.refconPV = kRefcon;
    extra.u.new_func_params.arbPH = &made;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_TRUE(made);
    EXPECT_EQ(BytesOf(made), std::vector<std::uint8_t>(10, 0));

    PF_ArbitraryH none = nullptr;
    extra.u.new_func_params.refconPV = reinterpret_cast<void*>(std::uintptr_t{1});
    extra.u.new_func_params.arbPH = &none;
    const auto calls = session_->host().ledger().CallCount("host_new_handle");
    report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_FALSE(none);
    EXPECT_EQ(session_->host().ledger().CallCount("host_new_handle"), calls);
}

TEST_F(ArbCallbacks, DisposeFreesOnlyForTheRightConstant) {
    PF_ArbitraryH record = NewRecord(std::vector<std::uint8_t>(10, 1));
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_DISPOSE_FUNC);
    extra.u.dispose_func_params.refconPV = nullptr;
    extra.u.dispose_func_params.arbH = record;
    EXPECT_EQ(session_->Arbitrary(nullptr, extra).result, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_TRUE(session_->host().handles().IsLive(record));

    extra.u.dispose_func_params.refconPV = kRefcon;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_FALSE(session_->host().handles().IsLive(record));
}

TEST_F(ArbCallbacks, CopyDuplicatesTheTenBytesAndIgnoresAWrongConstant) {
    const std::vector<std::uint8_t> state = {1, 0, 1, 1, 0, 0, 0, 1, 0, 1};
    PF_ArbitraryH source = NewRecord(state);
    PF_ArbitraryH copy = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_COPY_FUNC);
    extra.u.copy_func_params.refconPV = nullptr;
    extra.u.copy_func_params.src_arbH = source;
    extra.u.copy_func_params.dst_arbPH = &copy;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_FALSE(copy);

    extra.u.copy_func_params.refconPV = kRefcon;
    report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, source);
    EXPECT_EQ(BytesOf(copy), state);
}

TEST_F(ArbCallbacks, CopyFromNullSourceGivesTheDefaultRecord) {
    PF_ArbitraryH copy = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_COPY_FUNC);
    extra.u.copy_func_params.refconPV = kRefcon;
    extra.u.copy_func_params.src_arbH = nullptr;
    extra.u.copy_func_params.dst_arbPH = &copy;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_NONE);
    ASSERT_TRUE(copy);
    EXPECT_EQ(BytesOf(copy), std::vector<std::uint8_t>(10, 0));
}

TEST_F(ArbCallbacks, FlatSizeIsTenAndFlattenWritesOnlyIntoExactlyTenBytes) {
    const std::vector<std::uint8_t> state = {0, 1, 0, 0, 1, 1, 0, 0, 0, 1};
    PF_ArbitraryH record = NewRecord(state);
    A_u_long size = 0;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_FLAT_SIZE_FUNC);
    extra.u.flat_size_func_params.arbH = record;
    extra.u.flat_size_func_params.flat_data_sizePLu = &size;
    EXPECT_EQ(session_->Arbitrary(nullptr, extra).result, PF_Err_NONE);
    EXPECT_EQ(size, 10u);

    for (A_u_long buffer_size : {9u, 10u, 11u}) {
        std::vector<std::uint8_t> flat(12, 0xAB);
        extra = Extra(PF_Arbitrary_FLATTEN_FUNC);
        extra.u.flatten_func_params.arbH = record;
        extra.u.flatten_func_params.buf_sizeLu = buffer_size;
        extra.u.flatten_func_params.flat_dataPV = flat.data();
        CommandReport report = session_->Arbitrary(nullptr, extra);
        EXPECT_EQ(report.result, PF_Err_NONE);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        if (buffer_size == 10) {
            EXPECT_TRUE(std::equal(state.begin(), state.end(), flat.begin()));
            EXPECT_EQ(flat[10], 0xAB);
        } else {
            EXPECT_EQ(flat, std::vector<std::uint8_t>(12, 0xAB)) << buffer_size;
        }
    }
}

TEST_F(ArbCallbacks, UnflattenMakesARecordOnlyFromExactlyTenBytes) {
    std::vector<std::uint8_t> flat = {1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 7};
    for (A_u_long size : {9u, 11u}) {
        PF_ArbitraryH made = nullptr;
        PF_ArbParamsExtra extra = Extra(PF_Arbitrary_UNFLATTEN_FUNC);
        extra.u.unflatten_func_params.buf_sizeLu = size;
        extra.u.unflatten_func_params.flat_dataPV = flat.data();
        extra.u.unflatten_func_params.arbPH = &made;
        EXPECT_EQ(session_->Arbitrary(nullptr, extra).result, PF_Err_NONE);
        EXPECT_FALSE(made) << size;
    }
    PF_ArbitraryH made = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_UNFLATTEN_FUNC);
    extra.u.unflatten_func_params.buf_sizeLu = 10;
    extra.u.unflatten_func_params.flat_dataPV = flat.data();
    extra.u.unflatten_func_params.arbPH = &made;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_TRUE(made);
    EXPECT_EQ(BytesOf(made), std::vector<std::uint8_t>(flat.begin(), flat.begin() + 10));
}

TEST_F(ArbCallbacks, UnflattenWhoseLockFailsHandsOverNothingAndSaysSo) {
    const auto locks = session_->host().ledger().CallCount("host_lock_handle");
    session_->host().faults().FailNthCallOf("host_lock_handle", locks + 1, 1);
    std::vector<std::uint8_t> flat(10, 1);
    PF_ArbitraryH made = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_UNFLATTEN_FUNC);
    extra.u.unflatten_func_params.buf_sizeLu = 10;
    extra.u.unflatten_func_params.flat_dataPV = flat.data();
    extra.u.unflatten_func_params.arbPH = &made;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_FALSE(made);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(ArbCallbacks, UnsupportedFunctionsAnswerZeroAndTouchNothing) {
    for (PF_FunctionSelector which :
         {PF_Arbitrary_INTERP_FUNC, PF_Arbitrary_COMPARE_FUNC, PF_Arbitrary_PRINT_SIZE_FUNC,
          PF_Arbitrary_PRINT_FUNC, PF_Arbitrary_SCAN_FUNC}) {
        PF_ArbParamsExtra extra = Extra(which);
        const auto calls = session_->host().ledger().TotalCalls();
        CommandReport report = session_->Arbitrary(nullptr, extra);
        EXPECT_EQ(report.result, PF_Err_NONE) << which;
        EXPECT_EQ(session_->host().ledger().TotalCalls(), calls) << which;
    }
}

TEST_F(ArbCallbacks, NewWhoseLockFailsReportsOutOfMemoryAndLeavesNoHandle) {
    const auto locks = session_->host().ledger().CallCount("host_lock_handle");
    session_->host().faults().FailNthCallOf("host_lock_handle", locks + 1, 1);
    PF_ArbitraryH made = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_NEW_FUNC);
    extra.u.new_func_params.refconPV = kRefcon;
    extra.u.new_func_params.arbPH = &made;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_FALSE(made);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// A record the host cannot give is a failure of the callback, never an empty success.
TEST_F(ArbCallbacks, NewCopyAndUnflattenWithoutAHandleFromTheHostAreOutOfMemory) {
    PF_ArbitraryH source = NewRecord(std::vector<std::uint8_t>(10, 1));
    std::vector<std::uint8_t> flat(10, 1);
    for (PF_FunctionSelector which :
         {PF_Arbitrary_NEW_FUNC, PF_Arbitrary_COPY_FUNC, PF_Arbitrary_UNFLATTEN_FUNC}) {
        PF_ArbitraryH made = nullptr;
        PF_ArbParamsExtra extra = Extra(which);
        extra.u.new_func_params.refconPV = kRefcon;
        extra.u.new_func_params.arbPH = &made;
        if (which == PF_Arbitrary_COPY_FUNC) {
            extra.u.copy_func_params.refconPV = kRefcon;
            extra.u.copy_func_params.src_arbH = source;
            extra.u.copy_func_params.dst_arbPH = &made;
        } else if (which == PF_Arbitrary_UNFLATTEN_FUNC) {
            extra.u.unflatten_func_params = {};
            extra.u.unflatten_func_params.buf_sizeLu = 10;
            extra.u.unflatten_func_params.flat_dataPV = flat.data();
            extra.u.unflatten_func_params.arbPH = &made;
        }
        const auto handles = session_->host().ledger().CallCount("host_new_handle");
        session_->host().faults().FailNthCallOf("host_new_handle", handles + 1, 1);
        CommandReport report = session_->Arbitrary(nullptr, extra);
        EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY) << which;
        EXPECT_FALSE(made) << which;
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    }
}

TEST_F(ArbCallbacks, FlattenWhoseLockFailsIsAnErrorAndLeavesTheBufferAlone) {
    PF_ArbitraryH record = NewRecord({1, 1, 1, 0, 0, 0, 0, 0, 0, 1});
    const auto locks = session_->host().ledger().CallCount("host_lock_handle");
    session_->host().faults().FailNthCallOf("host_lock_handle", locks + 1, 1);
    std::vector<std::uint8_t> flat(10, 0xAB);
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_FLATTEN_FUNC);
    extra.u.flatten_func_params.arbH = record;
    extra.u.flatten_func_params.buf_sizeLu = 10;
    extra.u.flatten_func_params.flat_dataPV = flat.data();
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(flat, std::vector<std::uint8_t>(10, 0xAB));
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// A handle shorter than the record is never read past its end (the sanitizer build would
// stop here otherwise); nothing is made from it.
TEST_F(ArbCallbacks, CopyAndFlattenRefuseAHandleShorterThanTheRecord) {
    PF_ArbitraryH short_record = NewRecord(std::vector<std::uint8_t>(9, 1));
    PF_ArbitraryH copy = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_COPY_FUNC);
    extra.u.copy_func_params.refconPV = kRefcon;
    extra.u.copy_func_params.src_arbH = short_record;
    extra.u.copy_func_params.dst_arbPH = &copy;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_FALSE(copy);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);

    std::vector<std::uint8_t> flat(10, 0xAB);
    extra = Extra(PF_Arbitrary_FLATTEN_FUNC);
    extra.u.flatten_func_params.arbH = short_record;
    extra.u.flatten_func_params.buf_sizeLu = 10;
    extra.u.flatten_func_params.flat_dataPV = flat.data();
    report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(flat, std::vector<std::uint8_t>(10, 0xAB));
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(ArbCallbacks, ACopyThatFailsHalfWayHandsNothingOver) {
    PF_ArbitraryH source = NewRecord(std::vector<std::uint8_t>(10, 1));
    // The new record's lock succeeds, the source's fails.
    const auto locks = session_->host().ledger().CallCount("host_lock_handle");
    session_->host().faults().FailNthCallOf("host_lock_handle", locks + 2, 1);
    PF_ArbitraryH copy = nullptr;
    PF_ArbParamsExtra extra = Extra(PF_Arbitrary_COPY_FUNC);
    extra.u.copy_func_params.refconPV = kRefcon;
    extra.u.copy_func_params.src_arbH = source;
    extra.u.copy_func_params.dst_arbPH = &copy;
    CommandReport report = session_->Arbitrary(nullptr, extra);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_FALSE(copy);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// ---------------------------------------------------------------------------------
// Render, smart pre-render and smart render

class Rendering : public ::testing::Test {
  protected:
    void SetUp() override {
        applied_ = tltest::StartWithEffect();
        ASSERT_TRUE(applied_.session);
        input_.Fill(PF_Pixel{255, 10, 20, 30});
        output_.Fill(PF_Pixel{0, 0, 0, 0});
    }
    PF_RenderRequest Request(PF_LRect rect) {
        PF_RenderRequest request{};
        request.rect = rect;
        request.channel_mask = 15;
        return request;
    }
    // Smart render follows its smart pre-render, as in the host.
    CommandReport SmartRender(const tlhost::PixelAnswer& answer = {}) {
        PF_PreRenderOutput output{};
        EXPECT_EQ(
            applied_.session->SmartPreRender(*applied_.effect, Request({0, 0, 16, 8}), {}, &output)
                .result,
            PF_Err_NONE);
        return applied_.session->SmartRender(*applied_.effect, input_, output_, answer);
    }
    tltest::Applied applied_;
    tlhost::World input_{16, 8};
    tlhost::World output_{16, 8};
};

TEST_F(Rendering, RenderCopiesTheInputLayer) {
    CommandReport report = applied_.session->Render(*applied_.effect, input_, output_);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(output_ == input_);
}

struct PreRenderCase {
    const char* name;
    PF_LRect output_rect;
    PF_LRect checkout_rect;
    PF_LRect expected;
};

class SmartPreRender : public Rendering, public ::testing::WithParamInterface<PreRenderCase> {};

TEST_P(SmartPreRender, WidensTheOutputRectanglesByTheCheckout) {
    const PreRenderCase& c = GetParam();
    PF_PreRenderOutput output{};
    output.result_rect = c.output_rect;
    output.max_result_rect = c.output_rect;
    tlhost::CheckoutAnswer answer;
    answer.result_rect = c.checkout_rect;
    answer.max_result_rect = c.checkout_rect;
    CommandReport report =
        applied_.session->SmartPreRender(*applied_.effect, Request({0, 0, 16, 8}), answer, &output);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    for (const PF_LRect& r : {output.result_rect, output.max_result_rect}) {
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, SmartPreRender,
    ::testing::Values(
        PreRenderCase{"EmptyOutputTakesCheckout", {0, 0, 0, 0}, {2, 3, 10, 7}, {2, 3, 10, 7}},
        PreRenderCase{"EmptyCheckoutKeepsOutput", {1, 1, 5, 5}, {4, 4, 4, 9}, {1, 1, 5, 5}},
        PreRenderCase{"BothGiveTheirUnion", {1, 5, 5, 6}, {3, 2, 9, 4}, {1, 2, 9, 6}},
        PreRenderCase{"InvertedOutputCountsAsEmpty", {9, 9, 2, 2}, {0, 0, 3, 3}, {0, 0, 3, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Rendering, SmartPreRenderReturnsAFailedCheckoutAndTouchesNothing) {
    PF_PreRenderOutput output{};
    output.result_rect = {1, 2, 3, 4};
    tlhost::CheckoutAnswer answer;
    answer.error = PF_Interrupt_CANCEL;
    CommandReport report =
        applied_.session->SmartPreRender(*applied_.effect, Request({0, 0, 16, 8}), answer, &output);
    EXPECT_EQ(report.result, PF_Interrupt_CANCEL);
    EXPECT_EQ(output.result_rect.left, 1);
    EXPECT_EQ(output.result_rect.bottom, 4);
}

TEST_F(Rendering, SmartRenderCopiesInputToOutputAndChecksTheInputBackIn) {
    CommandReport report = SmartRender();
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(output_ == input_);
    EXPECT_EQ(applied_.session->host().ledger().CallCount("AEGP_CopyBits_HQ_Straight"), 1u);
}

TEST_F(Rendering, SmartRenderWithAFailedOutputCheckoutStillChecksInAndReturnsTheError) {
    tlhost::PixelAnswer answer;
    answer.output_error = PF_Err_OUT_OF_MEMORY;
    CommandReport report = SmartRender(answer);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(applied_.session->host().ledger().CallCount("checkin_layer_pixels"), 1u);
    EXPECT_EQ(output_.At(0, 0).red, 0);
}

TEST_F(Rendering, SmartRenderWithAFailedInputCheckoutReturnsItsError) {
    tlhost::PixelAnswer answer;
    answer.input_error = PF_Interrupt_CANCEL;
    CommandReport report = SmartRender(answer);
    EXPECT_EQ(report.result, PF_Interrupt_CANCEL);
    EXPECT_EQ(applied_.session->host().ledger().CallCount("checkout_output"), 0u);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(Rendering, SmartRenderWithANullOutputCopiesNothing) {
    tlhost::PixelAnswer answer;
    answer.null_output = true;
    CommandReport report = SmartRender(answer);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_EQ(applied_.session->host().ledger().CallCount("AEGP_CopyBits_HQ_Straight"), 0u);
}

TEST_F(Rendering, SmartRenderWithoutTheCompositeSuiteFailsButChecksIn) {
    applied_.session->host().faults().FailSuite(kAEGPCompositeSuite, -1, 1);
    CommandReport report = SmartRender();
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(Rendering, SmartRenderCopyFailureIsReturned) {
    applied_.session->host().faults().FailNthCallOf("AEGP_CopyBits_HQ_Straight", 1, 3);
    CommandReport report = SmartRender();
    EXPECT_EQ(report.result, 3);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// The pixels of a layer the pre-render did not check out (here: one whose checkout failed) are
// not the plug-in's to ask for.
TEST_F(Rendering, SmartRenderIsRefusedPixelsItsPreRenderNeverCheckedOut) {
    PF_PreRenderOutput output{};
    tlhost::CheckoutAnswer refused;
    refused.error = PF_Interrupt_CANCEL;
    applied_.session->SmartPreRender(*applied_.effect, Request({0, 0, 16, 8}), refused, &output);
    CommandReport report = applied_.session->SmartRender(*applied_.effect, input_, output_);
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("checkout id 0 was not checked out"), std::string::npos)
        << report.violations[0];
    EXPECT_EQ(report.leftovers.size(), 0u) << tltest::Leftovers(report);
    EXPECT_EQ(output_.At(0, 0).red, 0);
}

// ---------------------------------------------------------------------------------
// Events and the suite layer

TEST(Events, OtherThanDrawAndClickAnswerZeroWithoutTouchingTheHost) {
    auto applied = tltest::StartWithEffect();
    ASSERT_TRUE(applied.session);
    for (PF_EventType type : {PF_Event_NEW_CONTEXT, PF_Event_DRAG, PF_Event_ADJUST_CURSOR,
                              PF_Event_KEYDOWN, PF_Event_CLOSE_CONTEXT}) {
        PF_EventExtra event{};
        event.e_type = type;
        event.effect_win.index = 41;
        event.effect_win.area = PF_EA_CONTROL;
        const auto calls = applied.session->host().ledger().TotalCalls();
        CommandReport report = applied.session->Event(*applied.effect, event);
        EXPECT_EQ(report.result, PF_Err_NONE) << type;
        EXPECT_EQ(applied.session->host().ledger().TotalCalls(), calls) << type;
    }
}

// A fake plug-in body run through the real host, to call the suite layer directly.
using Body = PF_Err (*)(PF_InData*, PF_OutData*);
Body g_body = nullptr;
PF_Err BodyMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* p[],
                PF_LayerDef* o, void* e) {
    if (cmd != PF_Cmd_ABOUT || !g_body)
        return tltest::InProcessEntryPoints().effect_main(cmd, in_data, out_data, p, o, e);
    return g_body(in_data, out_data);
}

class SuiteLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        session_ = Session::Start({tltest::InProcessEntryPoints().data_entry, BodyMain},
                                  tltest::BuiltResource(), nullptr);
        ASSERT_TRUE(session_);
    }
    CommandReport Run(Body body) {
        g_body = body;
        CommandReport report = session_->About();
        g_body = nullptr;
        return report;
    }
    std::unique_ptr<Session> session_;
};

TEST_F(SuiteLayer, TheSuiteCacheThrows516AndReleasesWhatItHeld) {
    session_->host().faults().FailSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, 1);
    const auto releases = session_->host().ledger().CallCount("ReleaseSuite");
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        try {
            AEGP_SuiteHandler suites(in_data->pica_basicP);
            suites.HandleSuite1();
            suites.HandleSuite1();  // cached: acquired once
            suites.UtilitySuite5();
        } catch (A_Err e) {
            return e;
        }
        return PF_Err_NONE;
    });
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(session_->host().ledger().CallCount("ReleaseSuite"), releases + 1);
}

TEST_F(SuiteLayer, TheScopedSuiteThrows13WithTheDefaultMessage) {
    session_->host().faults().FailSuite(kPFHandleSuite, -1, 1);
    CommandReport report = Run([](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        try {
            AEFX_SuiteScoper<PF_HandleSuite1> scoper(in_data, kPFHandleSuite,
                                                     kPFHandleSuiteVersion1, out_data);
        } catch (A_Err e) {
            return e;
        }
        return PF_Err_NONE;
    });
    EXPECT_EQ(report.result, 13);
    EXPECT_EQ(report.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(report.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(SuiteLayer, TheScopedSuiteReleasesOnceOnSuccess) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        AEFX_SuiteScoper<PF_HandleSuite1> scoper(in_data, kPFHandleSuite, kPFHandleSuiteVersion1,
                                                 out_data);
        return scoper.get() ? PF_Err_NONE : 1;
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(SuiteLayer, OneShotAcquireGives516AndTheGivenOrDefaultMessage) {
    session_->host().faults().FailSuite(kPFHandleSuite, -1, 1);
    CommandReport report = Run([](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        void* suite = nullptr;
        return AEFX_AcquireSuite(in_data, out_data, kPFHandleSuite, kPFHandleSuiteVersion1,
                                 "Handles are gone.", &suite);
    });
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(report.return_msg, "Handles are gone.");
    EXPECT_TRUE(report.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE);

    report = Run([](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        void* suite = nullptr;
        return AEFX_AcquireSuite(in_data, out_data, kPFHandleSuite, kPFHandleSuiteVersion1, nullptr,
                                 &suite);
    });
    EXPECT_EQ(report.return_msg, "Not able to acquire AEFX Suite.");
}

TEST_F(SuiteLayer, DrawbotAcquireWithoutAPlaceGives514) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        return AEFX_AcquireDrawbotSuites(in_data, out_data, nullptr);
    });
    EXPECT_EQ(report.result, PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_EQ(report.return_msg, "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
}

}  // namespace
