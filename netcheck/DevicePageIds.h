#pragma once

// Control ids of the network check page (dialog template 2001).
namespace device_page {

inline constexpr int kIpLabel = 1020;
inline constexpr int kGatewayLabel = 1021;
inline constexpr int kMaskLabel = 1022;
inline constexpr int kDnsLabel = 1023;
inline constexpr int kIpText = 1024;
inline constexpr int kMaskText = 1025;
inline constexpr int kGatewayText = 1026;
inline constexpr int kDnsText = 1027;
inline constexpr int kLanConnectionGroup = 1028;
inline constexpr int kCloudHostLabel = 1029;
inline constexpr int kLanInformationGroup = 1030;
inline constexpr int kCloudGroup = 1031;
inline constexpr int kCloudHostEdit = 1032;
inline constexpr int kCloudTestButton = 1033;
inline constexpr int kNtpHostLabel = 1034;
inline constexpr int kNtpHostEdit = 1035;
inline constexpr int kNtpTestButton = 1036;
inline constexpr int kPort80Result = 1037;
inline constexpr int kPort30001Result = 1038;
inline constexpr int kPort30002Result = 1039;
inline constexpr int kPort30003Result = 1040;
inline constexpr int kPort80Label = 1041;
inline constexpr int kPort30001Label = 1042;
inline constexpr int kPort123Label = 1043;
inline constexpr int kPort5672Label = 1044;
inline constexpr int kPort30002Label = 1045;
inline constexpr int kPort30003Label = 1046;
inline constexpr int kPort5673Label = 1047;
inline constexpr int kPort123Result = 1048;
inline constexpr int kPort5672Result = 1049;
inline constexpr int kPort5673Result = 1050;
inline constexpr int kPort443Label = 1051;
inline constexpr int kPort443Result = 1052;
inline constexpr int kCheckButton = 1053;

} // namespace device_page
