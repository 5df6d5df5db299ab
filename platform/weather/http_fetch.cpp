#include "weather/http_fetch.h"

#include <algorithm>
#include <curl/curl.h>
#include <dlfcn.h>
#include <memory>

namespace weather {

namespace {

// libcurl, loaded at the first request: a program that never fetches over HTTP (the daemon on
// the offline service) then carries neither it nor its TLS, Kerberos and LDAP libraries.
struct Curl {
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) init = nullptr;
    decltype(&curl_easy_cleanup) cleanup = nullptr;
    decltype(&curl_easy_setopt) setopt = nullptr;
    decltype(&curl_easy_perform) perform = nullptr;
    decltype(&curl_easy_getinfo) getinfo = nullptr;
    decltype(&curl_easy_strerror) strerror = nullptr;
};

template <class F>
bool find(void* library, const char* name, F& function)
{
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

const Curl* loadCurl()
{
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return nullptr;
    static Curl curl;
    if (!find(library, "curl_global_init", curl.globalInit) || !find(library, "curl_easy_init", curl.init) ||
        !find(library, "curl_easy_cleanup", curl.cleanup) || !find(library, "curl_easy_setopt", curl.setopt) ||
        !find(library, "curl_easy_perform", curl.perform) || !find(library, "curl_easy_getinfo", curl.getinfo) ||
        !find(library, "curl_easy_strerror", curl.strerror))
        return nullptr;
    // curl_global_init is not thread-safe; requests start from several worker threads, and
    // this runs once, under the guard of the static below.
    curl.globalInit(CURL_GLOBAL_DEFAULT);
    return &curl;
}

const Curl* curlLibrary()
{
    static const Curl* const loaded = loadCurl();
    return loaded;
}

size_t appendBody(char* data, size_t size, size_t count, void* user)
{
    auto* body = static_cast<std::string*>(user);
    const size_t bytes = size * count;
    if (body->size() + bytes > kMaxHttpBody)
        return 0; // makes curl stop with a write error
    body->append(data, bytes);
    return bytes;
}

} // namespace

HttpResponse httpGet(const std::string& url, std::chrono::milliseconds timeout)
{
    HttpResponse response;
    const Curl* lib = curlLibrary();
    if (!lib) {
        response.error = "libcurl cannot be loaded";
        return response;
    }
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(lib->init(), lib->cleanup);
    if (!curl) {
        response.error = "cannot start a transfer";
        return response;
    }
    char errorText[CURL_ERROR_SIZE] = {};
    const long millis = std::max<long>(1, static_cast<long>(timeout.count()));
    lib->setopt(curl.get(), CURLOPT_URL, url.c_str());
    lib->setopt(curl.get(), CURLOPT_HTTPGET, 1L);
    lib->setopt(curl.get(), CURLOPT_NOSIGNAL, 1L); // worker threads must not get SIGALRM
    lib->setopt(curl.get(), CURLOPT_TIMEOUT_MS, millis);
    lib->setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, millis);
    lib->setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 0L);
    lib->setopt(curl.get(), CURLOPT_ACCEPT_ENCODING, "");
    lib->setopt(curl.get(), CURLOPT_USERAGENT, "Vantorel-Weather/1.0");
    lib->setopt(curl.get(), CURLOPT_ERRORBUFFER, errorText);
    lib->setopt(curl.get(), CURLOPT_WRITEFUNCTION, &appendBody);
    lib->setopt(curl.get(), CURLOPT_WRITEDATA, &response.body);

    const CURLcode result = lib->perform(curl.get());
    if (result != CURLE_OK) {
        response.error = errorText[0] ? errorText : lib->strerror(result);
        response.body.clear();
        return response;
    }
    lib->getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &response.status);
    response.transferred = true;
    return response;
}

} // namespace weather
