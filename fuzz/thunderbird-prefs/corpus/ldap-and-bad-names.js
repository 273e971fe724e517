user_pref("ldap_2.servers.Corp.description", "Corporate directory");
user_pref("ldap_2.servers.Corp.dirType", 0);
user_pref("ldap_2.servers.Corp.filename", "ldap.sqlite");
user_pref("ldap_2.servers.Sneaky.dirType", 101);
user_pref("ldap_2.servers.Sneaky.filename", "../../.ssh/id_rsa");
user_pref("ldap_2.servers.Dots.dirType", 101);
user_pref("ldap_2.servers.Dots.filename", "..");
user_pref("ldap_2.servers.Huge.dirType", 99999999999999999999999);
user_pref("ldap_2.servers.Huge.filename", "huge.sqlite");
