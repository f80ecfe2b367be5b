# The fuzz targets: tests/fuzz/fuzz_NAME.cpp, each with its seed corpus in
# tests/fuzz/corpus/NAME. (The settings integer reader's target joins here
# when that reader lands: settings_integer.)
set(QUOLVI_FUZZ_TARGETS pattern command_line folder_rules text_round_trip)
