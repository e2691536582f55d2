#pragma once
// The site's addresses. The host names come from the build (see the CMake cache
// variables LAUNCHER_SITE_HOST, LAUNCHER_FORUM_HOST and LAUNCHER_RANKING_HOST),
// so a test build can aim them at a loopback server of its own.

#if !defined(LAUNCHER_SITE_HOST) || !defined(LAUNCHER_FORUM_HOST) || !defined(LAUNCHER_RANKING_HOST)
#error "the build must define LAUNCHER_SITE_HOST, LAUNCHER_FORUM_HOST and LAUNCHER_RANKING_HOST"
#endif

inline constexpr char kAdvertisingPage[] = "http://" LAUNCHER_SITE_HOST "/ad/hezuo.htm";
inline constexpr char kSitePage[] = "http://" LAUNCHER_SITE_HOST "/default.html";
inline constexpr char kRankingSiteRoot[] = "http://" LAUNCHER_RANKING_HOST;
inline constexpr char kForumRoot[] = "http://" LAUNCHER_FORUM_HOST;
