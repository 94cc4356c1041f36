// A fake plug-in for host tests: it registers and answers global setup exactly as
// the built registration resource says, and runs the test's body for PF_Cmd_ABOUT,
// so that each host behaviour can be driven with a deliberate call sequence.
#pragma once

#include <memory>

#include "session/Session.h"

namespace tltest {

using Body = PF_Err (*)(PF_InData*, PF_OutData*);

class FakePlugin {
  public:
    FakePlugin();
    tlhost::Session& session() { return *session_; }
    tlhost::Host& host() { return session_->host(); }
    // Runs `body` as one command and reports it.
    tlhost::CommandReport Run(Body body);
    // An effect instance on a new layer, to give the body an effect_ref.
    tlhost::CommandReport RunOn(tlhost::EffectInstance& effect, Body body);

  private:
    std::unique_ptr<tlhost::Session> session_;
};

// Acquires a suite through the basic suite, for test bodies.
template <class Suite>
Suite* AcquireSuite(PF_InData* in_data, const char* name, int version) {
    const void* suite = nullptr;
    in_data->pica_basicP->AcquireSuite(name, version, &suite);
    return static_cast<Suite*>(const_cast<void*>(suite));
}

}  // namespace tltest
