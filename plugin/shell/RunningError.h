// The running error every handler carries from step to step.
//
// A handler is a list of host steps. Each step runs only while nothing has failed; the first
// non-zero code wins and is what the handler returns. Releases and disposals run whatever the
// state, but their own result only counts when nothing failed before them:
//
//     RunningError err;
//     err.Call(suites.LayerSuite7()->AEGP_GetLayerParentComp, layerH, &compH)
//        .Call(suites.CompSuite8()->AEGP_GetItemFromComp, compH, &itemH);
//     err.Then([&] { return WriteSomething(itemH); });
//     err.Release(suites.StreamSuite4()->AEGP_DisposeStream(streamH));
//     return err.get();
//
// Note that the arguments of Call are evaluated even when the step is skipped; put steps whose
// arguments themselves talk to the host into Then.
#pragma once

#include <type_traits>
#include <utility>

#include "A.h"

class RunningError {
  public:
    RunningError() = default;

    // Runs fn(args...) only while no error is set; a non-zero result becomes the error. A
    // function returning nothing is simply run.
    template <class Fn, class... Args>
    RunningError& Call(Fn fn, Args&&... args) {
        if (err_ == A_Err_NONE) Record(fn, std::forward<Args>(args)...);
        return *this;
    }

    // Runs step() only while no error is set; a non-zero result becomes the error.
    template <class Step>
    RunningError& Then(Step&& step) {
        if (err_ == A_Err_NONE) Record(std::forward<Step>(step));
        return *this;
    }

    // The result of a release or disposal that ran regardless of the state: it counts only
    // when nothing failed before.
    void Release(A_Err e) {
        if (err_ == A_Err_NONE) err_ = e;
    }

    bool ok() const { return err_ == A_Err_NONE; }
    A_Err get() const { return err_; }

  private:
    template <class Fn, class... Args>
    void Record(Fn&& fn, Args&&... args) {
        using Result = std::invoke_result_t<Fn, Args...>;
        if constexpr (std::is_void_v<Result>) {
            std::forward<Fn>(fn)(std::forward<Args>(args)...);
        } else {
            err_ = static_cast<A_Err>(std::forward<Fn>(fn)(std::forward<Args>(args)...));
        }
    }

    A_Err err_ = A_Err_NONE;
};
