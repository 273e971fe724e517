// The automation error object each failure leaves for the calling thread.
#ifndef PARLINK_SRC_ERRORREPORTER_H
#define PARLINK_SRC_ERRORREPORTER_H

#include <string_view>

namespace parlink {

// Publishes an error object with the SMS class identifier, source
// "Parlink", `description`, help file "C:\" and help context 0.
void PublishErrorInfo(std::string_view description);

} // namespace parlink

#endif
