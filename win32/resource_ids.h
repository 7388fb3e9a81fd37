// Ids of Quillomat.exe's own resources, for the resource script and for the program alike.
#ifndef QUILLOMAT_WIN32_RESOURCE_IDS_H
#define QUILLOMAT_WIN32_RESOURCE_IDS_H

#define IDB_BANNER 101
#define IDR_BANNER_2X 102

#ifndef RC_INVOKED
namespace quillomat {

inline constexpr int kBannerResource = IDB_BANNER;
inline constexpr int kBanner2xResource = IDR_BANNER_2X;

}  // namespace quillomat
#endif

#endif
