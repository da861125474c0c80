#pragma once
// COrvUiProfile: where the window layer keeps what frames remember (the layout of their bars),
// in the module's profile: each section is a subsection of the module's default section, read
// and written through the profile exports with descriptors of this module.
#include "platform/ui/app.h"

class COrvUiProfile : public ui::ProfileStore {
 public:
  int GetInt(std::string_view section, std::string_view entry, int defaultValue) override;
  bool WriteInt(std::string_view section, std::string_view entry, int value) override;
  std::string GetString(std::string_view section, std::string_view entry, std::string_view defaultValue) override;
  bool WriteString(std::string_view section, std::string_view entry, std::string_view value) override;
  bool GetBinary(std::string_view section, std::string_view entry, std::vector<std::uint8_t>* data) override;
  bool WriteBinary(std::string_view section, std::string_view entry, const std::vector<std::uint8_t>& data) override;
  bool DeleteSection(std::string_view section) override;
};
