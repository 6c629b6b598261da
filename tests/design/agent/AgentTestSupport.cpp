#include "tests/design/agent/AgentTestSupport.h"

#include "platform/rtl/ClassBuilder.h"

namespace agent_test {

// Its Notification must hear removals from the owner tree, as the real register's does.
DEFINE_CLASS(TAgentRegister, TCustomDsnRegister) { c.Hears(opRemove); }

}  // namespace agent_test
