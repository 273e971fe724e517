user_pref("ldap_2.servers.Esc.description", "Tab\there\\and \u00c4\u20ac\u");
user_pref("ldap_2.servers.Esc.filename", "esc\"ape.sqlite");
user_pref("ldap_2.servers.Esc.dirType", 101);
user_pref("ldap_2.servers.Open.filename", "open.sqlite
