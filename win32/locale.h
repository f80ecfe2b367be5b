// The user's regional settings for the date and time.
#pragma once

#include "core/date_time_format.h"

namespace quolvi {

// Makes the user's default locale the thread's and reads its date and time
// settings.
DateTimeLocale ReadDateTimeLocale();

}  // namespace quolvi
