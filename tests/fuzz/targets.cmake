# The fuzz targets: tests/fuzz/fuzz_NAME.cpp, each with its seed corpus in
# tests/fuzz/corpus/NAME.
set(QUOLVI_FUZZ_TARGETS pattern command_line folder_rules text_round_trip settings_integer)
