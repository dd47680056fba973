// Placeholder translation unit for a library without sources yet.
