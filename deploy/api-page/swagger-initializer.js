// The demo's API page: Swagger UI over the program's OpenAPI document,
// served beside it. "Try it out" calls the demo itself; the session cookie
// of a login (the console's, or /1000 run here) goes along by itself.
window.onload = function () {
  window.ui = SwaggerUIBundle({
    url: './openapi.json',
    dom_id: '#swagger-ui',
    deepLinking: true,
    validatorUrl: null, // no badge from an outside validator
    withCredentials: true,
    docExpansion: 'none',
    filter: true,
    presets: [SwaggerUIBundle.presets.apis, SwaggerUIStandalonePreset],
    plugins: [SwaggerUIBundle.plugins.DownloadUrl],
    layout: 'StandaloneLayout',
  });
};
