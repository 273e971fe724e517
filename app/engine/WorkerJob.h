#pragma once
// The jobs the user-interface thread hands to the communications worker.

#include <memory>
#include <vector>

namespace engine {

enum class JobKind : int {
  SendOne = 1,    // dispatch one Pending message, or all (-1)
  SendList = 2,   // dispatch each listed message
  QueryOne = 3,   // status pass for one message, or every due one (-1)
  QueryList = 4,  // status pass for each listed message
  DeleteList = 5, // withdraw each listed message from the server
};

// Message IDs for a list job. The poster builds it; ownership passes with
// the post.
struct IdList {
  // The poster switched the program online only for this job.
  bool goOfflineAfter = false;
  std::vector<int> ids;
};

struct WorkerJob {
  JobKind kind = JobKind::SendOne;
  // -1 means every message concerned; unused by the list kinds.
  int messageId = -1;
  // Null for the single-id kinds.
  std::unique_ptr<IdList> ids;
};

} // namespace engine
