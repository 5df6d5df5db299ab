#include "weather/http_fetch.h"

#include <algorithm>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace weather {

namespace {

void initialiseCurlOnce()
{
    // curl_global_init is not thread-safe; requests start from several worker threads.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
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
    initialiseCurlOnce();
    HttpResponse response;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        response.error = "cannot start a transfer";
        return response;
    }
    char errorText[CURL_ERROR_SIZE] = {};
    const long millis = std::max<long>(1, static_cast<long>(timeout.count()));
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L); // worker threads must not get SIGALRM
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, millis);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, millis);
    curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl.get(), CURLOPT_USERAGENT, "Vantorel-Weather/1.0");
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &appendBody);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &response.body);

    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK) {
        response.error = errorText[0] ? errorText : curl_easy_strerror(result);
        response.body.clear();
        return response;
    }
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &response.status);
    response.transferred = true;
    return response;
}

} // namespace weather
